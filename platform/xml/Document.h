#pragma once
#include "platform/xml/Node.h"

#include <memory>
#include <string_view>

struct _xmlDoc;

namespace pr::xml {

// A parsed XML document, shared by its copies and its nodes. The document's own declaration
// decides its encoding; external entities and DTDs are never loaded.
class Document {
  public:
    // Raises Error with the parser's message and line when the bytes are not well-formed.
    static Document Parse(std::string_view bytes);

    Element Root() const;

  private:
    explicit Document(_xmlDoc* doc);
    std::shared_ptr<_xmlDoc> doc_;
};

} // namespace pr::xml
