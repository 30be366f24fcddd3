#include "DriverTestSupport.h"

#include "driver/LLPXLDRV.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace drivertest {

namespace {

template <typename Fn> Slot namedSlot(const char* name, Fn address) {
    return Slot{name, reinterpret_cast<void*>(address)};
}

} // namespace

std::vector<Slot> boundSlots() {
    const llpxldrv::EntryPoints& e = llpxldrv::Entries();
    // The export name comes from the member's name, so a slot filled from the wrong export shows
    // up as a mismatch with exportedAddress().
#define DRIVERTEST_SLOT(entry) namedSlot(#entry, e.entry)
    return {
        DRIVERTEST_SLOT(GetNumCards),
        DRIVERTEST_SLOT(QueryCardInfo),
        DRIVERTEST_SLOT(QueryBARBase),
        DRIVERTEST_SLOT(WaitForIRQ),
        DRIVERTEST_SLOT(COSWaitForIRQ),
        DRIVERTEST_SLOT(WDGHandleIRQ),
        DRIVERTEST_SLOT(AbortRequest),
        DRIVERTEST_SLOT(CloseCard),
        DRIVERTEST_SLOT(WDGInit),
        DRIVERTEST_SLOT(WDGSetTimeout),
        DRIVERTEST_SLOT(WDGSetResetDuration),
        DRIVERTEST_SLOT(WDGPet),
        DRIVERTEST_SLOT(WDGReadTemp),
        DRIVERTEST_SLOT(WDGReadStatus),
        DRIVERTEST_SLOT(WDGStart),
        DRIVERTEST_SLOT(WDGStop),
        DRIVERTEST_SLOT(EmergencyReboot),
        DRIVERTEST_SLOT(InPortB),
        DRIVERTEST_SLOT(OutPortB),
        DRIVERTEST_SLOT(InPort),
        DRIVERTEST_SLOT(OutPort),
        DRIVERTEST_SLOT(InPortL),
        DRIVERTEST_SLOT(OutPortL),
        DRIVERTEST_SLOT(InPortDWord),
        DRIVERTEST_SLOT(OutPortDWord),
        DRIVERTEST_SLOT(RelInPortB),
        DRIVERTEST_SLOT(RelOutPortB),
        DRIVERTEST_SLOT(RelInPort),
        DRIVERTEST_SLOT(RelOutPort),
        DRIVERTEST_SLOT(RelInPortL),
        DRIVERTEST_SLOT(RelOutPortL),
        DRIVERTEST_SLOT(RelInPortDWord),
        DRIVERTEST_SLOT(RelOutPortDWord),
    };
#undef DRIVERTEST_SLOT
}

std::vector<void*> addresses(const std::vector<Slot>& slots) {
    std::vector<void*> result;
    for (const Slot& slot : slots)
        result.push_back(slot.address);
    return result;
}

namespace {

// A new reference on the library if it is loaded, without loading it.
void* probe() {
    return ::dlopen(kLibraryName, RTLD_LAZY | RTLD_NOLOAD);
}

} // namespace

bool libraryLoaded() {
    void* handle = probe();
    if (handle == nullptr) return false;
    ::dlclose(handle);
    return true;
}

void* exportedAddress(const std::string& name) {
    void* handle = probe();
    if (handle == nullptr) return nullptr;
    void* address = ::dlsym(handle, name.c_str());
    ::dlclose(handle);
    return address;
}

int releaseLibrary() {
    // Each round takes a reference with the probe and gives back two: the probe's and one held
    // elsewhere. Once none are left the loader unloads the library and the probe finds nothing.
    constexpr int kGiveUpAfter = 64;
    int released = 0;
    while (void* handle = probe()) {
        if (released == kGiveUpAfter) {
            ::dlclose(handle);
            return -1;
        }
        ::dlclose(handle);
        ::dlclose(handle);
        ++released;
    }
    return released;
}

std::string capturedOutput(const std::function<void()>& action) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::FILE* sink = std::tmpfile();
    if (sink == nullptr) return "(could not capture the output)";
    const int savedOut = ::dup(STDOUT_FILENO);
    const int savedErr = ::dup(STDERR_FILENO);
    ::dup2(::fileno(sink), STDOUT_FILENO);
    ::dup2(::fileno(sink), STDERR_FILENO);

    action();

    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    ::dup2(savedOut, STDOUT_FILENO);
    ::dup2(savedErr, STDERR_FILENO);
    ::close(savedOut);
    ::close(savedErr);

    std::string output;
    std::rewind(sink);
    for (int c = std::fgetc(sink); c != EOF; c = std::fgetc(sink))
        output.push_back(char(c));
    std::fclose(sink);
    return output;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

void installLibrary(const std::string& from, const std::string& to) {
    // Copy beside the target and rename over it, so the loader never sees a half-written file.
    const std::string partial = to + ".partial";
    std::filesystem::copy_file(from, partial, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::rename(partial, to);
}

} // namespace drivertest
