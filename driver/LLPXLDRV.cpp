#include "driver/LLPXLDRV.h"

#include "driver/DynamicLibrary.h"

namespace llpxldrv {

namespace {

// The bare name, so that the loader's search (LD_LIBRARY_PATH, run path, system folders) applies.
constexpr const char* kLibraryName = "libpxldrv.so";

EntryPoints entries;
bool driverAvailable = false;

// EntryPoints holds the 33 slots and nothing else; each is looked up below.
static_assert(sizeof(EntryPoints) == kEntryPointCount * sizeof(GetNumCardsFn));

// Stores the lookup result in the slot, also when it is null; true when the entry was found.
template <typename Fn>
bool lookUp(const DynamicLibrary& library, const char* name, Fn& slot) noexcept {
    slot = library.function<Fn>(name);
    return slot != nullptr;
}

} // namespace

void BindDriverLibrary() {
    if (driverAvailable) return;

    // The handle is deliberately not kept: the library stays loaded for good.
    const std::optional<DynamicLibrary> library = DynamicLibrary::open(kLibraryName);
    if (!library) return;

    std::size_t found = 0;
    // The member's name is the export's name, so the two cannot drift apart.
#define LLPXLDRV_LOOK_UP(entry) found += lookUp(*library, #entry, entries.entry) ? 1 : 0
    LLPXLDRV_LOOK_UP(GetNumCards);
    LLPXLDRV_LOOK_UP(QueryCardInfo);
    LLPXLDRV_LOOK_UP(QueryBARBase);
    LLPXLDRV_LOOK_UP(WaitForIRQ);
    LLPXLDRV_LOOK_UP(COSWaitForIRQ);
    LLPXLDRV_LOOK_UP(WDGHandleIRQ);
    LLPXLDRV_LOOK_UP(AbortRequest);
    LLPXLDRV_LOOK_UP(CloseCard);
    LLPXLDRV_LOOK_UP(WDGInit);
    LLPXLDRV_LOOK_UP(WDGSetTimeout);
    LLPXLDRV_LOOK_UP(WDGSetResetDuration);
    LLPXLDRV_LOOK_UP(WDGPet);
    LLPXLDRV_LOOK_UP(WDGReadTemp);
    LLPXLDRV_LOOK_UP(WDGReadStatus);
    LLPXLDRV_LOOK_UP(WDGStart);
    LLPXLDRV_LOOK_UP(WDGStop);
    LLPXLDRV_LOOK_UP(EmergencyReboot);
    LLPXLDRV_LOOK_UP(InPortB);
    LLPXLDRV_LOOK_UP(OutPortB);
    LLPXLDRV_LOOK_UP(InPort);
    LLPXLDRV_LOOK_UP(OutPort);
    LLPXLDRV_LOOK_UP(InPortL);
    LLPXLDRV_LOOK_UP(OutPortL);
    LLPXLDRV_LOOK_UP(InPortDWord);
    LLPXLDRV_LOOK_UP(OutPortDWord);
    LLPXLDRV_LOOK_UP(RelInPortB);
    LLPXLDRV_LOOK_UP(RelOutPortB);
    LLPXLDRV_LOOK_UP(RelInPort);
    LLPXLDRV_LOOK_UP(RelOutPort);
    LLPXLDRV_LOOK_UP(RelInPortL);
    LLPXLDRV_LOOK_UP(RelOutPortL);
    LLPXLDRV_LOOK_UP(RelInPortDWord);
    LLPXLDRV_LOOK_UP(RelOutPortDWord);
#undef LLPXLDRV_LOOK_UP

    driverAvailable = found == kEntryPointCount;
}

bool DriverAvailable() {
    return driverAvailable;
}

const EntryPoints& Entries() {
    return entries;
}

} // namespace llpxldrv
