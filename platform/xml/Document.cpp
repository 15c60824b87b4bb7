#include "platform/xml/Document.h"

#include <libxml/parser.h>

#include <climits>
#include <mutex>

namespace pr::xml {
namespace {

struct ContextFree {
    void operator()(xmlParserCtxt* context) const noexcept { xmlFreeParserCtxt(context); }
};

// The parser's first error: later ones mostly follow from it.
struct FirstError {
    bool seen = false;
    int line = 0;
    std::string message;
};

void KeepFirstError(void* context, xmlError* error) {
    auto* first = static_cast<FirstError*>(static_cast<xmlParserCtxt*>(context)->_private);
    if (first->seen || !error || error->level < XML_ERR_ERROR)
        return;
    first->seen = true;
    first->line = error->line;
    first->message = error->message ? error->message : "";
}

// The parser's message on one line.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

Document::Document(_xmlDoc* doc) : doc_(doc, &xmlFreeDoc) {}

Document Document::Parse(std::string_view bytes) {
    static std::once_flag init;
    std::call_once(init, [] { xmlInitParser(); });
    if (bytes.size() > INT_MAX)
        throw Error("The XML document is too large");

    std::unique_ptr<xmlParserCtxt, ContextFree> context(xmlNewParserCtxt());
    if (!context)
        throw Error("Cannot create an XML parser");
    FirstError first;
    context->_private = &first;
    context->sax->serror = &KeepFirstError;
    // No entity substitution, no DTD loading, no network: nothing outside the bytes is read.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    xmlDoc* doc = xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()),
                                    nullptr, nullptr, options);
    if (doc && context->wellFormed)
        return Document(doc);
    if (doc)
        xmlFreeDoc(doc);
    if (!first.seen)
        throw Error("The XML document is not well-formed");
    throw Error("XML error at line " + std::to_string(first.line) + ": " + OneLine(first.message));
}

Element Document::Root() const {
    xmlNode* root = xmlDocGetRootElement(doc_.get());
    if (!root)
        throw Error("The XML document has no root element");
    return Node(doc_, root).AsElement();
}

} // namespace pr::xml
