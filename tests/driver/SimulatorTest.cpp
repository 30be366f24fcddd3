// The stand-in library's documented behaviour, called the way the program calls it: through the
// binding's slots (so the signatures on both sides must agree). Runs with the complete stand-in.
#include "driver/simulator/Simulator.h"
#include "driver/LLPXLDRV.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

using namespace llpxldrv;
using namespace pxlsim;

namespace {

class Simulator : public ::testing::Test {
protected:
    void SetUp() override {
        BindDriverLibrary();
        ASSERT_TRUE(DriverAvailable());
    }

    const EntryPoints& d = Entries();
};

TEST_F(Simulator, DescribesEachCard) {
    ASSERT_EQ(d.GetNumCards(), kSimulatedCardCount);
    for (std::int32_t card = 0; card < kSimulatedCardCount; ++card) {
        std::uint32_t model = 0, serial = 0, base = 1;
        ASSERT_EQ(d.QueryCardInfo(card, &model, &serial), kOk);
        EXPECT_EQ(model, kModelNumber);
        EXPECT_EQ(serial, kFirstSerialNumber + std::uint32_t(card));
        ASSERT_EQ(d.QueryBARBase(card, 0, &base), kOk);
        EXPECT_EQ(base, PortBase(card));
        ASSERT_EQ(d.QueryBARBase(card, 5, &base), kOk);
        EXPECT_EQ(base, 0u);
        std::int32_t temperature = 0;
        ASSERT_EQ(d.WDGReadTemp(card, &temperature), kOk);
        EXPECT_EQ(temperature, kTemperatureTenthsCelsius);
    }
}

TEST_F(Simulator, PortsReachEachCardsOwnLittleEndianRegisters) {
    ASSERT_EQ(d.RelOutPortDWord(1, 4, 0x11223344u), kOk);
    std::uint8_t byte = 0;
    ASSERT_EQ(d.RelInPortB(1, 4, &byte), kOk);
    EXPECT_EQ(byte, 0x44);
    std::uint16_t word = 0;
    ASSERT_EQ(d.InPort(std::uint16_t(PortBase(1) + 6), &word), kOk);
    EXPECT_EQ(word, 0x1122);
    std::uint32_t dword = 1;
    ASSERT_EQ(d.RelInPortDWord(0, 4, &dword), kOk);
    EXPECT_EQ(dword, 0u) << "card 0 has registers of its own";

    // The last four bytes of a region, written signed and read unsigned.
    const auto last = std::uint16_t(PortBase(0) + kRegisterFileBytes - 4);
    ASSERT_EQ(d.OutPortL(last, -2), kOk);
    ASSERT_EQ(d.RelInPortDWord(0, kRegisterFileBytes - 4, &dword), kOk);
    EXPECT_EQ(dword, 0xFFFFFFFEu);
    std::int32_t signedValue = 0;
    ASSERT_EQ(d.InPortL(last, &signedValue), kOk);
    EXPECT_EQ(signedValue, -2);

    ASSERT_EQ(d.CloseCard(1), kOk);
    ASSERT_EQ(d.RelInPortDWord(1, 4, &dword), kOk);
    EXPECT_EQ(dword, 0u) << "closing a card returns it to its power-on state";
}

TEST_F(Simulator, RejectsBadCardsAndAccessesOutsideTheRegions) {
    std::uint8_t byte = 0;
    std::uint16_t word = 0;
    std::uint32_t dword = 0;
    const std::uint32_t end = kRegisterFileBytes;
    const struct {
        const char* what;
        std::int32_t status;
        std::int32_t expected;
    } cases[] = {
        {"card -1", d.RelInPortB(-1, 0, &byte), kBadCard},
        {"card past the last", d.RelInPortB(kSimulatedCardCount, 0, &byte), kBadCard},
        {"query of a missing card", d.QueryCardInfo(kSimulatedCardCount, &dword, &dword), kBadCard},
        {"watchdog of a missing card", d.WDGInit(-1), kBadCard},
        {"wait on a missing card", d.WaitForIRQ(kSimulatedCardCount, 0), kBadCard},
        {"null result", d.RelInPortB(0, 0, nullptr), kBadArgument},
        {"bar 6", d.QueryBARBase(0, 6, &dword), kBadArgument},
        {"offset at the end", d.RelOutPortB(0, end, 1), kBadArgument},
        {"dword across the end", d.RelOutPortDWord(0, end - 2, 0xFFFFFFFFu), kBadArgument},
        {"offset that would wrap", d.RelInPortDWord(0, 0xFFFFFFFEu, &dword), kBadArgument},
        {"port below every region", d.InPortB(std::uint16_t(kPortBase - 1), &byte), kBadArgument},
        {"port between regions", d.InPortB(std::uint16_t(PortBase(0) + end), &byte), kBadArgument},
        {"port of a missing card", d.OutPortB(PortBase(kSimulatedCardCount), 1), kBadArgument},
        {"word across the end", d.InPort(std::uint16_t(PortBase(1) + end - 1), &word),
         kBadArgument},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.status, c.expected) << c.what;

    // The rejected write touched nothing.
    ASSERT_EQ(d.RelInPort(0, end - 2, &word), kOk);
    EXPECT_EQ(word, 0);
}

TEST_F(Simulator, WatchdogKeepsStateAndNothingWaitsOrReboots) {
    std::uint32_t status = 0;
    EXPECT_EQ(d.WDGStart(0), kBadState) << "start before init";
    EXPECT_EQ(d.WDGPet(0), kBadState);
    ASSERT_EQ(d.WDGInit(0), kOk);
    EXPECT_EQ(d.WDGSetTimeout(0, 0), kBadArgument);
    EXPECT_EQ(d.WDGSetResetDuration(0, 0), kBadArgument);
    EXPECT_EQ(d.WDGSetTimeout(0, 500), kOk);
    ASSERT_EQ(d.WDGStart(0), kOk);
    EXPECT_EQ(d.WDGPet(0), kOk);
    ASSERT_EQ(d.WDGReadStatus(0, &status), kOk);
    EXPECT_EQ(status, kWatchdogInitialised | kWatchdogRunning);
    ASSERT_EQ(d.WDGReadStatus(1, &status), kOk);
    EXPECT_EQ(status, 0u) << "card 1's watchdog was never touched";
    ASSERT_EQ(d.WDGStop(0), kOk);
    EXPECT_EQ(d.WDGPet(0), kBadState);
    ASSERT_EQ(d.WDGReadStatus(0, &status), kOk);
    EXPECT_EQ(status, kWatchdogInitialised);

    // The longest timeout still returns at once.
    EXPECT_EQ(d.WaitForIRQ(0, 0xFFFFFFFFu), kTimeout);
    std::uint32_t changed = 1;
    EXPECT_EQ(d.COSWaitForIRQ(1, 0xFFFFFFFFu, &changed), kTimeout);
    EXPECT_EQ(changed, 0u);
    EXPECT_EQ(d.AbortRequest(0), kOk);
    EXPECT_EQ(d.WDGHandleIRQ(0), kOk);
    EXPECT_EQ(d.EmergencyReboot(0), kNotSupported);
}

} // namespace

// ---------------------------------------------------------------- A/D converter

namespace {

struct Conversion {
    std::uint8_t status = 0xAA;
    std::uint16_t counts = 0;
};

Conversion convert(const EntryPoints& d, std::int32_t card, std::uint8_t channel) {
    Conversion c;
    EXPECT_EQ(d.RelOutPortB(card, kAdcControlOffset, channel), kOk);
    EXPECT_EQ(d.RelInPortB(card, kAdcStatusOffset, &c.status), kOk);
    EXPECT_EQ(d.RelInPort(card, kAdcDataOffset, &c.counts), kOk);
    return c;
}

} // namespace

TEST_F(Simulator, ConvertsEachChannelNearItsLevelAndTheReadingsMove) {
    for (std::int32_t card = 0; card < kSimulatedCardCount; ++card)
        for (std::uint8_t channel = 0; channel < kAdcChannels; ++channel) {
            std::vector<std::uint16_t> seen;
            for (int i = 0; i < 5; ++i) {
                Conversion c = convert(d, card, channel);
                ASSERT_EQ(c.status, kAdcDone);
                EXPECT_NEAR(AdcVolts(c.counts), AdcNominalVolts(channel),
                            (kAdcWobbleCounts + 1) * 20.0 / 65535.0);
                seen.push_back(c.counts);
            }
            std::sort(seen.begin(), seen.end());
            EXPECT_GT(std::unique(seen.begin(), seen.end()) - seen.begin(), 1)
                << "card " << card << " channel " << int(channel) << " never changes";
        }
}

TEST_F(Simulator, ConverterRefusesAChannelItDoesNotHave) {
    Conversion c = convert(d, 0, kAdcChannels);
    EXPECT_EQ(c.status, kAdcBadChannel);
    EXPECT_EQ(c.counts, 0xFFFF);
    // Started through the absolute port as well.
    ASSERT_EQ(d.OutPortB(std::uint16_t(PortBase(1) + kAdcControlOffset), 3), kOk);
    std::uint8_t status = 0;
    ASSERT_EQ(d.RelInPortB(1, kAdcStatusOffset, &status), kOk);
    EXPECT_EQ(status, kAdcDone);
}

// The variant built with PXLSIM_ADC_FAILED: the card answers, its converter never does.
class FailedConverter : public Simulator {};

TEST_F(FailedConverter, NoChannelEverConverts) {
    EXPECT_EQ(d.GetNumCards(), kSimulatedCardCount);
    for (std::int32_t card = 0; card < kSimulatedCardCount; ++card)
        for (std::uint8_t channel = 0; channel < kAdcChannels; ++channel) {
            Conversion c = convert(d, card, channel);
            EXPECT_EQ(c.status & kAdcDone, 0);
            EXPECT_EQ(c.counts, 0xFFFF);
        }
}
