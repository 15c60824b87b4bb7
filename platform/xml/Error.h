#pragma once
#include "platform/core/Error.h"

namespace pr::xml {

// A document that is not well-formed, or a node that does not have the asked form.
class Error : public pr::Error {
  public:
    using pr::Error::Error;
};

} // namespace pr::xml
