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

// A/D converter, reached through the card's I/O region. Writing a channel number (0 to
// kAdcChannels - 1) to the byte at kAdcControlOffset converts that channel at once: the status
// byte at kAdcStatusOffset then reads kAdcDone and the 16-bit word at kAdcDataOffset the result,
// in counts of the -10 V to +10 V range (0 is -10 V, 65535 is +10 V). Channel n sits at
// AdcNominalVolts(n) with a small wobble of up to kAdcWobbleCounts counts either way that
// changes from one conversion to the next (a fixed pseudo-random sequence, the same in every
// run). Another channel number sets kAdcBadChannel and the data word to 0xFFFF.
//
// A library built with PXLSIM_ADC_FAILED stands for a card whose converter answers nothing, as
// when the card sits at another base address: every conversion leaves kAdcDone clear and the
// data word at 0xFFFF.
constexpr std::uint32_t kAdcControlOffset = 0x20;
constexpr std::uint32_t kAdcStatusOffset = 0x21;
constexpr std::uint32_t kAdcDataOffset = 0x22;
constexpr std::uint8_t kAdcDone = 1u << 0;
constexpr std::uint8_t kAdcBadChannel = 1u << 1;
constexpr std::uint8_t kAdcChannels = 8;
constexpr int kAdcWobbleCounts = 6;

constexpr double AdcNominalVolts(int channel) {
    return -8.75 + 2.5 * channel;
}
// Volts from counts of the converter's range.
constexpr double AdcVolts(std::uint16_t counts) {
    return -10.0 + 20.0 * counts / 65535.0;
}

// Interrupts never arrive: WaitForIRQ and COSWaitForIRQ return kTimeout at once, without waiting,
// whatever the timeout; AbortRequest and WDGHandleIRQ have nothing to do and return kOk.
// EmergencyReboot returns kNotSupported and does nothing.

} // namespace pxlsim
