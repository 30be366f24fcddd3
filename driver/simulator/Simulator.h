// What the stand-in driver library simulates: a machine with a fixed number of installed cards,
// each with an in-memory register file in place of its I/O ports and a watchdog that only keeps
// state. No real port is touched, nothing waits and nothing reboots.
//
// Every entry point checks its card index (kBadCard), its result pointer, port, offset and access
// width (kBadArgument) before doing anything. Not thread-safe, like the binding that calls it.
#pragma once

#include <cstdint>

namespace pxlsim {

// GetNumCards() answers this; cards 0 .. kSimulatedCardCount - 1 exist.
constexpr std::int32_t kSimulatedCardCount = 2;

// Each card's I/O region: kRegisterFileBytes bytes of memory, zero at load and after CloseCard.
// An access must lie wholly inside it.
constexpr std::uint32_t kRegisterFileBytes = 64;

// Absolute ports: card c's region starts at kPortBase + c * kPortStride (also what QueryBARBase
// gives for bar 0; bars 1 to 5 are unused and read 0). Ports outside every region are rejected.
constexpr std::uint16_t kPortBase = 0xE000;
constexpr std::uint16_t kPortStride = 0x100;

constexpr std::uint16_t PortBase(std::int32_t card) {
    return static_cast<std::uint16_t>(kPortBase + card * kPortStride);
}

// QueryCardInfo: every card reports kModelNumber and serial number kFirstSerialNumber + card.
constexpr std::uint32_t kModelNumber = 7140;
constexpr std::uint32_t kFirstSerialNumber = 1000;

// WDGReadTemp: a steady 25.0 degrees Celsius.
constexpr std::int32_t kTemperatureTenthsCelsius = 250;

// Watchdog: WDGInit stops it and sets these defaults; WDGStart needs WDGInit first, WDGPet needs
// it running (else kBadState); WDGReadStatus reports these bits.
constexpr std::uint32_t kDefaultWatchdogTimeoutMs = 1000;
constexpr std::uint32_t kDefaultResetDurationMs = 100;
constexpr std::uint32_t kWatchdogInitialised = 1u << 0;
constexpr std::uint32_t kWatchdogRunning = 1u << 1;

// Interrupts never arrive: WaitForIRQ and COSWaitForIRQ return kTimeout at once, without waiting,
// whatever the timeout; AbortRequest and WDGHandleIRQ have nothing to do and return kOk.
// EmergencyReboot returns kNotSupported and does nothing.

} // namespace pxlsim
