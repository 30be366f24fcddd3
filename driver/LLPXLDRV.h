// Run-time binding of the card maker's driver library.
//
// The program never links against the driver library: BindDriverLibrary() looks for it only when
// a caller needs it, so a machine without the library (or without the card) runs the program all
// the same. On Linux the library is libpxldrv.so, opened by that bare name so that the dynamic
// loader's normal search decides where it comes from: LD_LIBRARY_PATH, the executable's run path
// (a run path of $ORIGIN finds a copy beside the executable), then the system folders.
//
// Binding has three outcomes:
//   not found   the library cannot be found or is not a loadable library: nothing is said, the
//               slots keep what they held and DriverAvailable() stays false;
//   incomplete  the library loads but lacks one or more entry points: the found ones are stored,
//               the others are empty, DriverAvailable() is false;
//   complete    all 33 entry points were found: DriverAvailable() is true.
// The library handle is not kept and the library is never unloaded, so the stored entries stay
// valid for the life of the process. Not thread-safe: call from the user-interface thread only.
#pragma once

#include <cstddef>
#include <cstdint>

namespace llpxldrv {

// Status codes. Every entry point except GetNumCards returns one of these.
constexpr std::int32_t kOk = 0;
constexpr std::int32_t kBadCard = -1;     // card index outside 0 .. GetNumCards() - 1
constexpr std::int32_t kBadArgument = -2; // null result pointer, port or offset out of range, ...
constexpr std::int32_t kTimeout = -3;     // nothing arrived within the time given
constexpr std::int32_t kNotSupported = -4;
constexpr std::int32_t kBadState = -5; // e.g. petting a watchdog that is not running

// Signatures of the entry points, all with C linkage, in the order in which they are looked up.
// "card" is a zero-based card index; "port" is an absolute I/O port number; "offset" is relative
// to the start of the card's I/O region (its base address register 0). Multi-byte accesses are
// little-endian. Read results go to the pointer given, which must not be null. "L" accesses are
// 32-bit signed, "DWord" accesses 32-bit unsigned; both have the same width.

// Number of installed cards of the family; 0 or less means none.
using GetNumCardsFn = std::int32_t (*)();
// Model number and serial number of a card.
using QueryCardInfoFn = std::int32_t (*)(std::int32_t card, std::uint32_t* model,
                                         std::uint32_t* serialNumber);
// Base address of one of the card's base address registers (bar 0 to 5).
using QueryBARBaseFn = std::int32_t (*)(std::int32_t card, std::int32_t bar, std::uint32_t* base);
// Waits up to timeoutMs milliseconds for the card's interrupt.
using WaitForIRQFn = std::int32_t (*)(std::int32_t card, std::uint32_t timeoutMs);
// Waits up to timeoutMs for a change-of-state interrupt; changedLines gets the lines that changed.
using COSWaitForIRQFn = std::int32_t (*)(std::int32_t card, std::uint32_t timeoutMs,
                                         std::uint32_t* changedLines);
// Acknowledges a watchdog interrupt.
using WDGHandleIRQFn = std::int32_t (*)(std::int32_t card);
// Ends a wait for an interrupt that is in progress on the card.
using AbortRequestFn = std::int32_t (*)(std::int32_t card);
// Releases the card and returns it to its power-on state.
using CloseCardFn = std::int32_t (*)(std::int32_t card);
// Prepares the card's watchdog (stopped, default timeout and reset duration).
using WDGInitFn = std::int32_t (*)(std::int32_t card);
// Watchdog timeout and the length of the reset pulse, in milliseconds (greater than 0).
using WDGSetTimeoutFn = std::int32_t (*)(std::int32_t card, std::uint32_t milliseconds);
using WDGSetResetDurationFn = std::int32_t (*)(std::int32_t card, std::uint32_t milliseconds);
// Restarts the running watchdog's countdown.
using WDGPetFn = std::int32_t (*)(std::int32_t card);
// Board temperature in tenths of a degree Celsius.
using WDGReadTempFn = std::int32_t (*)(std::int32_t card, std::int32_t* tenthsCelsius);
// Watchdog status bits (their meaning is the library's).
using WDGReadStatusFn = std::int32_t (*)(std::int32_t card, std::uint32_t* status);
using WDGStartFn = std::int32_t (*)(std::int32_t card);
using WDGStopFn = std::int32_t (*)(std::int32_t card);
// Asks the card's watchdog to reset the computer at once.
using EmergencyRebootFn = std::int32_t (*)(std::int32_t card);
// Absolute port input and output: byte, 16-bit word, 32-bit signed, 32-bit unsigned.
using InPortBFn = std::int32_t (*)(std::uint16_t port, std::uint8_t* value);
using OutPortBFn = std::int32_t (*)(std::uint16_t port, std::uint8_t value);
using InPortFn = std::int32_t (*)(std::uint16_t port, std::uint16_t* value);
using OutPortFn = std::int32_t (*)(std::uint16_t port, std::uint16_t value);
using InPortLFn = std::int32_t (*)(std::uint16_t port, std::int32_t* value);
using OutPortLFn = std::int32_t (*)(std::uint16_t port, std::int32_t value);
using InPortDWordFn = std::int32_t (*)(std::uint16_t port, std::uint32_t* value);
using OutPortDWordFn = std::int32_t (*)(std::uint16_t port, std::uint32_t value);
// The same accesses relative to the card's I/O region.
using RelInPortBFn = std::int32_t (*)(std::int32_t card, std::uint32_t offset, std::uint8_t* value);
using RelOutPortBFn = std::int32_t (*)(std::int32_t card, std::uint32_t offset, std::uint8_t value);
using RelInPortFn = std::int32_t (*)(std::int32_t card, std::uint32_t offset, std::uint16_t* value);
using RelOutPortFn = std::int32_t (*)(std::int32_t card, std::uint32_t offset, std::uint16_t value);
using RelInPortLFn = std::int32_t (*)(std::int32_t card, std::uint32_t offset, std::int32_t* value);
using RelOutPortLFn = std::int32_t (*)(std::int32_t card, std::uint32_t offset, std::int32_t value);
using RelInPortDWordFn = std::int32_t (*)(std::int32_t card, std::uint32_t offset,
                                          std::uint32_t* value);
using RelOutPortDWordFn = std::int32_t (*)(std::int32_t card, std::uint32_t offset,
                                           std::uint32_t value);

// One slot per entry point, named exactly as the library exports it; empty (null) until a binding
// finds the entry point. A caller may call an entry only when its slot is filled.
struct EntryPoints {
    GetNumCardsFn GetNumCards = nullptr;
    QueryCardInfoFn QueryCardInfo = nullptr;
    QueryBARBaseFn QueryBARBase = nullptr;
    WaitForIRQFn WaitForIRQ = nullptr;
    COSWaitForIRQFn COSWaitForIRQ = nullptr;
    WDGHandleIRQFn WDGHandleIRQ = nullptr;
    AbortRequestFn AbortRequest = nullptr;
    CloseCardFn CloseCard = nullptr;
    WDGInitFn WDGInit = nullptr;
    WDGSetTimeoutFn WDGSetTimeout = nullptr;
    WDGSetResetDurationFn WDGSetResetDuration = nullptr;
    WDGPetFn WDGPet = nullptr;
    WDGReadTempFn WDGReadTemp = nullptr;
    WDGReadStatusFn WDGReadStatus = nullptr;
    WDGStartFn WDGStart = nullptr;
    WDGStopFn WDGStop = nullptr;
    EmergencyRebootFn EmergencyReboot = nullptr;
    InPortBFn InPortB = nullptr;
    OutPortBFn OutPortB = nullptr;
    InPortFn InPort = nullptr;
    OutPortFn OutPort = nullptr;
    InPortLFn InPortL = nullptr;
    OutPortLFn OutPortL = nullptr;
    InPortDWordFn InPortDWord = nullptr;
    OutPortDWordFn OutPortDWord = nullptr;
    RelInPortBFn RelInPortB = nullptr;
    RelOutPortBFn RelOutPortB = nullptr;
    RelInPortFn RelInPort = nullptr;
    RelOutPortFn RelOutPort = nullptr;
    RelInPortLFn RelInPortL = nullptr;
    RelOutPortLFn RelOutPortL = nullptr;
    RelInPortDWordFn RelInPortDWord = nullptr;
    RelOutPortDWordFn RelOutPortDWord = nullptr;
};

constexpr std::size_t kEntryPointCount = 33;

// Loads the library and looks up every entry point. Does nothing once a binding was complete;
// after an incomplete one it loads the library again (which only raises the loader's count) and
// repeats the lookups. Never reports anything; safe to call any number of times.
void BindDriverLibrary();

// True when the last binding found all 33 entry points.
bool DriverAvailable();

// The entry slots. All start empty; only BindDriverLibrary() fills them.
const EntryPoints& Entries();

} // namespace llpxldrv
