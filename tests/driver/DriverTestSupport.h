// Helpers for the binding's tests: the slots by export name, the test's own view of the loaded
// library, and captured console output.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace drivertest {

// The name the binding must ask the loader for.
constexpr const char* kLibraryName = "libpxldrv.so";

struct Slot {
    std::string name; // the export this slot stands for
    void* address;
};

// All 33 slots of the binding, each paired with the export name it must hold.
std::vector<Slot> boundSlots();

// Only the addresses of `slots`, for comparing whole bindings.
std::vector<void*> addresses(const std::vector<Slot>& slots);

// Whether the process has the driver library loaded now, asking the loader directly.
bool libraryLoaded();

// The address that the loaded driver library exports under `name`, found by the test's own
// lookup; null when the library is not loaded or has no such export.
void* exportedAddress(const std::string& name);

// Drops every reference held on the loaded driver library so that the loader unloads it, and
// returns how many there were; -1 when the loader keeps it all the same.
int releaseLibrary();

// Everything written to file descriptors 1 and 2 while `action` runs.
std::string capturedOutput(const std::function<void()>& action);

// The value of an environment variable the test's CTest entry sets; empty when it is missing.
std::string environment(const char* name);

// Copies the library file `from` to `to`, replacing whatever is there in one step.
void installLibrary(const std::string& from, const std::string& to);

} // namespace drivertest
