#include "driver/DynamicLibrary.h"

#include <dlfcn.h>

namespace llpxldrv {

std::optional<DynamicLibrary> DynamicLibrary::open(const char* name) noexcept {
    // RTLD_NOW: a library with unresolved symbols fails here rather than at its first call.
    // RTLD_LOCAL: its exports must not stand in for anyone else's.
    void* handle = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        (void)::dlerror(); // drop the message so that a later dlerror() does not report it
        return std::nullopt;
    }
    return DynamicLibrary(handle);
}

void* DynamicLibrary::symbol(const char* name) const noexcept {
    void* address = ::dlsym(handle_, name);
    (void)::dlerror();
    return address;
}

} // namespace llpxldrv
