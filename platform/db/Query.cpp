#include "platform/db/Query.h"

#include "platform/db/Session.h"
#include "platform/db/SqlText.h"

#include <algorithm>
#include <cctype>

namespace pr::db {
namespace {

constexpr unsigned kTextOid = 25, kByteaOid = 17, kFloat8Oid = 701;

std::string Key(std::string_view name) {
    if (!name.empty() && name.front() == ':')
        name.remove_prefix(1);
    std::string key(name);
    for (auto& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

Parameter Bind(VariableType type, const Value& value) {
    Parameter p;
    if (value.IsNull())
        return p;
    switch (type) {
    case VariableType::BinaryLob: {
        const Bytes bytes = value.AsBytes();
        p.value = std::string(bytes.begin(), bytes.end());
        p.typeOid = kByteaOid;
        p.binary = true;
        break;
    }
    case VariableType::TextLob:
        p.value = value.AsText();
        p.typeOid = kTextOid;
        break;
    case VariableType::Integer:
        p.value = std::to_string(value.AsInt());
        break;
    case VariableType::Float:
        p.value = Value(value.AsDouble()).AsText();
        p.typeOid = kFloat8Oid;
        break;
    default:
        p.value = value.AsText();
        break;
    }
    return p;
}

} // namespace

std::size_t Query::IndexOf(std::string_view name) const {
    const std::string key = Key(name);
    return static_cast<std::size_t>(std::find_if(variables_.begin(), variables_.end(),
                                                 [&](const Variable& v) { return v.key == key; }) -
                                    variables_.begin());
}

const Query::Variable* Query::FindVariable(std::string_view name) const {
    const std::size_t i = IndexOf(name);
    return i < variables_.size() ? &variables_[i] : nullptr;
}

Query::Variable& Query::Declared(std::string_view name) {
    const std::size_t i = IndexOf(name);
    if (i == variables_.size())
        throw pr::Error("variable " + std::string(name) + " is not declared");
    return variables_[i];
}

void Query::DeclareVariable(std::string_view name, VariableType type) {
    const std::size_t i = IndexOf(name);
    if (i < variables_.size())
        variables_[i].type = type;
    else
        variables_.push_back({Key(name), type, Value()});
}

void Query::SetVariable(std::string_view name, Value value) {
    Declared(name).value = std::move(value);
}

Value Query::GetVariable(std::string_view name) const {
    const Variable* v = FindVariable(name);
    if (!v)
        throw pr::Error("variable " + std::string(name) + " is not declared");
    return v->value;
}

std::string Query::Translate(std::vector<const Variable*>* bound) const {
    std::vector<const Variable*> order;
    std::string out;
    std::size_t copied = 0;
    for (const Placeholder& p : FindPlaceholders(sql_)) {
        const Variable* v = FindVariable(p.name);
        if (!v)
            continue;
        out.append(sql_, copied, p.offset - copied);
        copied = p.offset + p.length;
        if (v->type == VariableType::Substitution) {
            out += v->value.AsText();
            continue;
        }
        auto at = std::find(order.begin(), order.end(), v);
        if (at == order.end())
            at = order.insert(order.end(), v);
        out += '$';
        out += std::to_string(at - order.begin() + 1);
    }
    out.append(sql_, copied);
    if (bound)
        *bound = std::move(order);
    return out;
}

std::string Query::TranslatedSQL() const {
    return Translate(nullptr);
}

void Query::Execute() {
    std::vector<const Variable*> bound;
    Statement statement{Translate(&bound), {}};
    for (const Variable* v : bound)
        statement.params.push_back(Bind(v->type, v->value));
    result_ = Result();
    row_ = 0;
    const bool sessionDebug = session_.Debug();
    if (debug_ && !sessionDebug)
        session_.SetDebug(true);
    try {
        result_ = session_.Execute(std::move(statement));
    } catch (...) {
        session_.SetDebug(sessionDebug);
        throw;
    }
    session_.SetDebug(sessionDebug);
}

Value Query::Field(std::string_view name) const {
    const int index = result_.ColumnIndex(name);
    if (index < 0)
        throw Error("field \"" + std::string(name) + "\" does not exist", "42703", ErrorKind::Other,
                    sql_);
    return Field(index);
}

} // namespace pr::db
