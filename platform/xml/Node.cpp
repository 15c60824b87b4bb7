#include "platform/xml/Node.h"

#include <libxml/tree.h>

#include <memory>

namespace pr::xml {
namespace {

const xmlChar* ToXml(const std::string& text) {
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

std::string FromXml(const xmlChar* text) {
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

struct XmlFree {
    void operator()(xmlChar* text) const noexcept { xmlFree(text); }
};

bool IsBlank(const xmlNode* node) {
    if (node->type != XML_TEXT_NODE || !node->content)
        return false;
    for (const xmlChar* c = node->content; *c; ++c)
        if (*c != ' ' && *c != '\t' && *c != '\r' && *c != '\n')
            return false;
    return true;
}

bool IsText(const xmlNode* node) {
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

} // namespace

NodeKind Node::Kind() const {
    switch (node_->type) {
    case XML_ELEMENT_NODE:
        return NodeKind::Element;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
        return NodeKind::Text;
    case XML_COMMENT_NODE:
        return NodeKind::Comment;
    default:
        return NodeKind::Other;
    }
}

std::string Node::Name() const {
    return IsElement() ? FromXml(node_->name) : std::string();
}

std::string Node::Value() const {
    return Kind() == NodeKind::Text || Kind() == NodeKind::Comment ? FromXml(node_->content)
                                                                   : std::string();
}

Element Node::AsElement() const {
    if (!IsElement())
        throw Error("The XML node is not an element");
    return Element(doc_, node_);
}

std::optional<std::string> Element::Attribute(const std::string& name) const {
    std::unique_ptr<xmlChar, XmlFree> value(xmlGetNoNsProp(node_, ToXml(name)));
    if (!value)
        return std::nullopt;
    return FromXml(value.get());
}

std::vector<Node> Element::Children() const {
    std::vector<Node> children;
    for (xmlNode* child = node_->children; child; child = child->next)
        if (!IsBlank(child))
            children.push_back(Node(doc_, child));
    return children;
}

bool Element::HasChildNodes() const {
    return !Children().empty();
}

std::optional<Element> Element::FirstChild(const std::string& name) const {
    for (xmlNode* child = node_->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE && FromXml(child->name) == name)
            return Element(doc_, child);
    return std::nullopt;
}

Element Element::ChildOrCreate(const std::string& name) const {
    if (std::optional<Element> child = FirstChild(name))
        return *child;
    xmlNode* created = xmlNewChild(node_, nullptr, ToXml(name), nullptr);
    if (!created)
        throw Error("Cannot create the XML element \"" + name + "\"");
    return Element(doc_, created);
}

bool Element::IsTextElement() const {
    const std::vector<Node> children = Children();
    return children.size() == 1 && IsText(children.front().node_);
}

std::string Element::Text() const {
    const std::vector<Node> children = Children();
    if (children.empty())
        return {};
    if (children.size() != 1 || !IsText(children.front().node_))
        throw Error("Element does not contain a single text node");
    return children.front().Value();
}

} // namespace pr::xml
