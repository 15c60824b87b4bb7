#pragma once
#include "platform/xml/Error.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

namespace pr::xml {

enum class NodeKind { Element, Text, Comment, Other };

class Element;

// A node of a parsed document; it keeps its document alive. Texts are UTF-8.
class Node {
  public:
    NodeKind Kind() const;
    bool IsElement() const { return Kind() == NodeKind::Element; }
    // The element's name; empty for other kinds.
    std::string Name() const;
    // The content of a text or comment node; empty for an element.
    std::string Value() const;
    // This node as an element; raises Error when it is not one.
    Element AsElement() const;

  protected:
    Node(std::shared_ptr<_xmlDoc> doc, _xmlNode* node) : doc_(std::move(doc)), node_(node) {}
    std::shared_ptr<_xmlDoc> doc_;
    _xmlNode* node_;

    friend class Document;
    friend class Element;
};

class Element : public Node {
  public:
    std::optional<std::string> Attribute(const std::string& name) const;

    // Child nodes in document order; text made only of blanks and line breaks is left out.
    std::vector<Node> Children() const;
    bool HasChildNodes() const;

    // The first child element of that name (case-sensitive).
    std::optional<Element> FirstChild(const std::string& name) const;
    // The same, created empty in memory when there is none.
    Element ChildOrCreate(const std::string& name) const;

    // Whether the element's only child is one text node.
    bool IsTextElement() const;
    // That text node's content; empty for an element without children. Raises Error
    // "Element does not contain a single text node" for anything else.
    std::string Text() const;

  private:
    using Node::Node;
};

} // namespace pr::xml
