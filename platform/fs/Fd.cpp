#include "platform/fs/Fd.h"

#include <unistd.h>

namespace pr::fs {

void Fd::Reset() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

} // namespace pr::fs
