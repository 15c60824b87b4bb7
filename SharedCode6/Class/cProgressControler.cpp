#include "SharedCode6/Class/cProgressControler.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameIdentity(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

} // namespace

int32_t TcNullInterfacedObject::Release() {
    if (!finished_)
        return 1;
    // Moving the self reference out frees the object when this call returns; nothing of it is
    // touched after that.
    const auto self = std::move(self_);
    return 0;
}

int32_t TcNullInterfacedObject::QueryInterface(std::string_view iid, void*& obj) {
    if (SameIdentity(iid, intf_id::IInterface)) {
        obj = this;
        return kInterfaceFound;
    }
    obj = nullptr;
    return kNoInterface;
}

TcNullIShowProgressImp* TcNullIShowProgressImp::Create() {
    return OwnSelf(std::make_unique<TcNullIShowProgressImp>());
}

int32_t TcNullIShowProgressImp::QueryInterface(std::string_view iid, void*& obj) {
    if (SameIdentity(iid, intf_id::IShowProgress)) {
        obj = static_cast<IShowProgress*>(this);
        return kInterfaceFound;
    }
    return TcNullInterfacedObject::QueryInterface(iid, obj);
}

std::shared_ptr<IShowProgress> CreateNullShowProgress() {
    return std::make_shared<TcNullIShowProgressImp>();
}
