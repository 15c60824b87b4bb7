#pragma once
#include "platform/core/Error.h"

#include <functional>

namespace pr::zip {

// A zip archive that cannot be opened, read, written or trusted.
class Error : public pr::Error {
  public:
    using pr::Error::Error;
};

// The caller's cancel request stopped the operation.
class Cancelled : public Error {
  public:
    Cancelled() : Error("Operation cancelled") {}
};

// Share of the operation done so far, from 0.0 to 1.0.
using Progress = std::function<void(double done)>;
// Asked while an operation runs; answering true stops it with Cancelled.
using CancelRequest = std::function<bool()>;

} // namespace pr::zip
