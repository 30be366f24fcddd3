// The stand-in driver library: every entry point of the binding, with the signatures the binding
// expects (checked at the end of this file), behaving as Simulator.h describes.
#include "driver/simulator/Simulator.h"

#include "driver/LLPXLDRV.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <type_traits>

using namespace pxlsim;
using llpxldrv::kBadArgument;
using llpxldrv::kBadCard;
using llpxldrv::kBadState;
using llpxldrv::kNotSupported;
using llpxldrv::kOk;
using llpxldrv::kTimeout;

namespace {

struct Card {
    std::array<std::uint8_t, kRegisterFileBytes> registers{};
    bool watchdogInitialised = false;
    bool watchdogRunning = false;
    std::uint32_t watchdogTimeoutMs = 0;
    std::uint32_t resetDurationMs = 0;
    std::uint32_t adcNoise = 1;
};

std::array<Card, kSimulatedCardCount> cards{};

bool isCard(std::int32_t card) {
    return card >= 0 && card < kSimulatedCardCount;
}

Card& cardAt(std::int32_t card) {
    return cards[static_cast<std::size_t>(card)];
}

// Written so that a huge offset cannot wrap around the end of the region.
bool fits(std::uint32_t offset, std::size_t width) {
    return offset <= kRegisterFileBytes && width <= kRegisterFileBytes - offset;
}

template <typename T> std::int32_t readRegister(std::int32_t card, std::uint32_t offset, T* value) {
    if (!isCard(card)) return kBadCard;
    if (value == nullptr || !fits(offset, sizeof(T))) return kBadArgument;
    std::uint32_t raw = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        raw |= std::uint32_t{cardAt(card).registers[offset + i]} << (8 * i);
    *value = static_cast<T>(raw);
    return kOk;
}

void storeWord(Card& c, std::uint32_t offset, std::uint16_t value) {
    c.registers[offset] = static_cast<std::uint8_t>(value);
    c.registers[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

// One conversion of the channel named in the control byte.
void convert(Card& c) {
    const std::uint8_t channel = c.registers[kAdcControlOffset];
#ifdef PXLSIM_ADC_FAILED
    (void)channel;
    c.registers[kAdcStatusOffset] = 0;
    storeWord(c, kAdcDataOffset, 0xFFFF);
#else
    if (channel >= kAdcChannels) {
        c.registers[kAdcStatusOffset] = kAdcBadChannel;
        storeWord(c, kAdcDataOffset, 0xFFFF);
        return;
    }
    // A linear congruential sequence: deterministic, and different at every conversion.
    c.adcNoise = c.adcNoise * 1103515245u + 12345u;
    const int wobble =
        static_cast<int>((c.adcNoise >> 16) % (2 * kAdcWobbleCounts + 1)) - kAdcWobbleCounts;
    const double nominal = (AdcNominalVolts(channel) + 10.0) / 20.0 * 65535.0;
    const int counts = static_cast<int>(nominal + 0.5) + wobble;
    storeWord(c, kAdcDataOffset, static_cast<std::uint16_t>(std::clamp(counts, 0, 65535)));
    c.registers[kAdcStatusOffset] = kAdcDone;
#endif
}

template <typename T> std::int32_t writeRegister(std::int32_t card, std::uint32_t offset, T value) {
    if (!isCard(card)) return kBadCard;
    if (!fits(offset, sizeof(T))) return kBadArgument;
    const auto raw = static_cast<std::uint32_t>(value);
    Card& c = cardAt(card);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        c.registers[offset + i] = static_cast<std::uint8_t>(raw >> (8 * i));
    if (offset <= kAdcControlOffset && kAdcControlOffset < offset + sizeof(T)) convert(c);
    return kOk;
}

// The card and offset that an absolute port access of `width` bytes reaches; false when the
// access does not lie wholly inside one card's region.
bool locatePort(std::uint16_t port, std::size_t width, std::int32_t& card, std::uint32_t& offset) {
    if (port < kPortBase) return false;
    const std::uint32_t relative = port - kPortBase;
    card = static_cast<std::int32_t>(relative / kPortStride);
    offset = relative % kPortStride;
    return isCard(card) && fits(offset, width);
}

template <typename T> std::int32_t readPort(std::uint16_t port, T* value) {
    std::int32_t card = 0;
    std::uint32_t offset = 0;
    if (!locatePort(port, sizeof(T), card, offset)) return kBadArgument;
    return readRegister(card, offset, value);
}

template <typename T> std::int32_t writePort(std::uint16_t port, T value) {
    std::int32_t card = 0;
    std::uint32_t offset = 0;
    if (!locatePort(port, sizeof(T), card, offset)) return kBadArgument;
    return writeRegister(card, offset, value);
}

} // namespace

extern "C" {

std::int32_t GetNumCards() {
    return kSimulatedCardCount;
}

std::int32_t QueryCardInfo(std::int32_t card, std::uint32_t* model, std::uint32_t* serialNumber) {
    if (!isCard(card)) return kBadCard;
    if (model == nullptr || serialNumber == nullptr) return kBadArgument;
    *model = kModelNumber;
    *serialNumber = kFirstSerialNumber + static_cast<std::uint32_t>(card);
    return kOk;
}

std::int32_t QueryBARBase(std::int32_t card, std::int32_t bar, std::uint32_t* base) {
    if (!isCard(card)) return kBadCard;
    if (bar < 0 || bar > 5 || base == nullptr) return kBadArgument;
    *base = bar == 0 ? PortBase(card) : 0;
    return kOk;
}

std::int32_t WaitForIRQ(std::int32_t card, std::uint32_t /*timeoutMs*/) {
    return isCard(card) ? kTimeout : kBadCard;
}

std::int32_t COSWaitForIRQ(std::int32_t card, std::uint32_t /*timeoutMs*/,
                           std::uint32_t* changedLines) {
    if (!isCard(card)) return kBadCard;
    if (changedLines == nullptr) return kBadArgument;
    *changedLines = 0;
    return kTimeout;
}

std::int32_t WDGHandleIRQ(std::int32_t card) {
    return isCard(card) ? kOk : kBadCard;
}

std::int32_t AbortRequest(std::int32_t card) {
    return isCard(card) ? kOk : kBadCard;
}

std::int32_t CloseCard(std::int32_t card) {
    if (!isCard(card)) return kBadCard;
    cardAt(card) = Card{};
    return kOk;
}

std::int32_t WDGInit(std::int32_t card) {
    if (!isCard(card)) return kBadCard;
    Card& c = cardAt(card);
    c.watchdogInitialised = true;
    c.watchdogRunning = false;
    c.watchdogTimeoutMs = kDefaultWatchdogTimeoutMs;
    c.resetDurationMs = kDefaultResetDurationMs;
    return kOk;
}

std::int32_t WDGSetTimeout(std::int32_t card, std::uint32_t milliseconds) {
    if (!isCard(card)) return kBadCard;
    if (milliseconds == 0) return kBadArgument;
    cardAt(card).watchdogTimeoutMs = milliseconds;
    return kOk;
}

std::int32_t WDGSetResetDuration(std::int32_t card, std::uint32_t milliseconds) {
    if (!isCard(card)) return kBadCard;
    if (milliseconds == 0) return kBadArgument;
    cardAt(card).resetDurationMs = milliseconds;
    return kOk;
}

std::int32_t WDGPet(std::int32_t card) {
    if (!isCard(card)) return kBadCard;
    return cardAt(card).watchdogRunning ? kOk : kBadState;
}

std::int32_t WDGReadTemp(std::int32_t card, std::int32_t* tenthsCelsius) {
    if (!isCard(card)) return kBadCard;
    if (tenthsCelsius == nullptr) return kBadArgument;
    *tenthsCelsius = kTemperatureTenthsCelsius;
    return kOk;
}

std::int32_t WDGReadStatus(std::int32_t card, std::uint32_t* status) {
    if (!isCard(card)) return kBadCard;
    if (status == nullptr) return kBadArgument;
    const Card& c = cardAt(card);
    *status = (c.watchdogInitialised ? kWatchdogInitialised : 0u) |
              (c.watchdogRunning ? kWatchdogRunning : 0u);
    return kOk;
}

std::int32_t WDGStart(std::int32_t card) {
    if (!isCard(card)) return kBadCard;
    Card& c = cardAt(card);
    if (!c.watchdogInitialised) return kBadState;
    c.watchdogRunning = true;
    return kOk;
}

std::int32_t WDGStop(std::int32_t card) {
    if (!isCard(card)) return kBadCard;
    cardAt(card).watchdogRunning = false;
    return kOk;
}

std::int32_t EmergencyReboot(std::int32_t card) {
    return isCard(card) ? kNotSupported : kBadCard;
}

std::int32_t InPortB(std::uint16_t port, std::uint8_t* value) {
    return readPort(port, value);
}
std::int32_t OutPortB(std::uint16_t port, std::uint8_t value) {
    return writePort(port, value);
}
std::int32_t InPort(std::uint16_t port, std::uint16_t* value) {
    return readPort(port, value);
}
std::int32_t OutPort(std::uint16_t port, std::uint16_t value) {
    return writePort(port, value);
}
std::int32_t InPortL(std::uint16_t port, std::int32_t* value) {
    return readPort(port, value);
}
std::int32_t OutPortL(std::uint16_t port, std::int32_t value) {
    return writePort(port, value);
}
std::int32_t InPortDWord(std::uint16_t port, std::uint32_t* value) {
    return readPort(port, value);
}
std::int32_t OutPortDWord(std::uint16_t port, std::uint32_t value) {
    return writePort(port, value);
}

std::int32_t RelInPortB(std::int32_t card, std::uint32_t offset, std::uint8_t* value) {
    return readRegister(card, offset, value);
}
std::int32_t RelOutPortB(std::int32_t card, std::uint32_t offset, std::uint8_t value) {
    return writeRegister(card, offset, value);
}
std::int32_t RelInPort(std::int32_t card, std::uint32_t offset, std::uint16_t* value) {
    return readRegister(card, offset, value);
}
std::int32_t RelOutPort(std::int32_t card, std::uint32_t offset, std::uint16_t value) {
    return writeRegister(card, offset, value);
}
std::int32_t RelInPortL(std::int32_t card, std::uint32_t offset, std::int32_t* value) {
    return readRegister(card, offset, value);
}
std::int32_t RelOutPortL(std::int32_t card, std::uint32_t offset, std::int32_t value) {
    return writeRegister(card, offset, value);
}
std::int32_t RelInPortDWord(std::int32_t card, std::uint32_t offset, std::uint32_t* value) {
    return readRegister(card, offset, value);
}
std::int32_t RelOutPortDWord(std::int32_t card, std::uint32_t offset, std::uint32_t value) {
    return writeRegister(card, offset, value);
}

} // extern "C"

// A signature that drifted from the binding's would make calls through its slots undefined.
#define PXLSIM_SAME_SIGNATURE(entry)                                                               \
    static_assert(std::is_same_v<decltype(&::entry), llpxldrv::entry##Fn>,                         \
                  #entry " differs from the binding's signature")
PXLSIM_SAME_SIGNATURE(GetNumCards);
PXLSIM_SAME_SIGNATURE(QueryCardInfo);
PXLSIM_SAME_SIGNATURE(QueryBARBase);
PXLSIM_SAME_SIGNATURE(WaitForIRQ);
PXLSIM_SAME_SIGNATURE(COSWaitForIRQ);
PXLSIM_SAME_SIGNATURE(WDGHandleIRQ);
PXLSIM_SAME_SIGNATURE(AbortRequest);
PXLSIM_SAME_SIGNATURE(CloseCard);
PXLSIM_SAME_SIGNATURE(WDGInit);
PXLSIM_SAME_SIGNATURE(WDGSetTimeout);
PXLSIM_SAME_SIGNATURE(WDGSetResetDuration);
PXLSIM_SAME_SIGNATURE(WDGPet);
PXLSIM_SAME_SIGNATURE(WDGReadTemp);
PXLSIM_SAME_SIGNATURE(WDGReadStatus);
PXLSIM_SAME_SIGNATURE(WDGStart);
PXLSIM_SAME_SIGNATURE(WDGStop);
PXLSIM_SAME_SIGNATURE(EmergencyReboot);
PXLSIM_SAME_SIGNATURE(InPortB);
PXLSIM_SAME_SIGNATURE(OutPortB);
PXLSIM_SAME_SIGNATURE(InPort);
PXLSIM_SAME_SIGNATURE(OutPort);
PXLSIM_SAME_SIGNATURE(InPortL);
PXLSIM_SAME_SIGNATURE(OutPortL);
PXLSIM_SAME_SIGNATURE(InPortDWord);
PXLSIM_SAME_SIGNATURE(OutPortDWord);
PXLSIM_SAME_SIGNATURE(RelInPortB);
PXLSIM_SAME_SIGNATURE(RelOutPortB);
PXLSIM_SAME_SIGNATURE(RelInPort);
PXLSIM_SAME_SIGNATURE(RelOutPort);
PXLSIM_SAME_SIGNATURE(RelInPortL);
PXLSIM_SAME_SIGNATURE(RelOutPortL);
PXLSIM_SAME_SIGNATURE(RelInPortDWord);
PXLSIM_SAME_SIGNATURE(RelOutPortDWord);
#undef PXLSIM_SAME_SIGNATURE
