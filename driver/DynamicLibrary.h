// A thin wrapper over the dynamic loader: open a library through the loader's normal search and
// look up its exports by name.
#pragma once

#include <optional>

namespace llpxldrv {

// A reference to a loaded library. It never unloads anything: once opened, the library stays in
// the process, so addresses looked up from it remain valid however the wrapper is copied or
// dropped.
class DynamicLibrary {
public:
    // Opens the library named `name` (resolving all its symbols at once). Empty when it cannot be
    // found or is not a loadable library; the loader's error is discarded, nothing is printed.
    static std::optional<DynamicLibrary> open(const char* name) noexcept;

    // The address of the export `name`, or null when the library has none of that name.
    void* symbol(const char* name) const noexcept;

    // The export `name` as a function pointer of type Fn, or null.
    template <typename Fn> Fn function(const char* name) const noexcept {
        return reinterpret_cast<Fn>(symbol(name));
    }

private:
    explicit DynamicLibrary(void* handle) noexcept : handle_(handle) {}

    void* handle_;
};

} // namespace llpxldrv
