// The demo page in-process, started as the demo program starts, against each driver library it
// may meet (CMakeLists.txt gives each suite its library through LD_LIBRARY_PATH):
//   WithDriver          the complete stand-in: two cards, eight moving channels
//   WithoutDriver       no library at all
//   WithoutGetNumCards  the stand-in without its count
//   FailedConverter     the stand-in whose converter never answers
#include "driver/LLPXLDRV.h"
#include "driver/simulator/Simulator.h"
#include "platform/TestSeams.h"
#include "tests/demo/DemoForm.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace ui;
namespace ts = ui::testing;

namespace {

class Demo : public ::testing::Test {
protected:
    void SetUp() override {
        ts::InitTestApplication();
        ts::SetScreenSize(1024, 768);
        form = Application->CreateForm<TDemoForm>();
        form->Show();
        ts::ProcessPendingMessages();
        ts::RunIdle();
        sup = form->SetSup;
        ASSERT_NE(sup->PCIForm(), nullptr);
        ASSERT_EQ(ts::DeliverTimerTicks(), 1); // the help window's tick
    }
    void TearDown() override { ts::DoneTestApplication(); }

    std::vector<std::string> Cards() const { return sup->PCIForm()->PCIMemo->Lines.Items(); }
    std::vector<std::string> Channels() const { return form->CalibList->Lines.Items(); }
    void Answer(int answer) {
        ts::AnswerMessageBoxes([answer](const ts::MessageBoxRecord&) { return answer; });
    }
    size_t FailurePrompts() const {
        size_t n = 0;
        for (const auto& b : ts::MessageBoxes())
            n += b.caption == "Total A/D failure";
        return n;
    }

    TDemoForm* form = nullptr;
    TSetupSupporter* sup = nullptr;
};

class WithDriver : public Demo {};
class WithoutDriver : public Demo {};
class WithoutGetNumCards : public Demo {};
class FailedConverter : public Demo {};

} // namespace

TEST_F(WithDriver, ListsBothCardsAndTheHeaderSaysFound) {
    EXPECT_EQ(DriverCardCount(), 2);
    EXPECT_TRUE(llpxldrv::DriverAvailable());
    EXPECT_EQ(Cards(), (std::vector<std::string>{"Card 0: serial 1000, I/O at 0xE000",
                                                 "Card 1: serial 1001, I/O at 0xE100"}));
    EXPECT_TRUE(sup->PCIForm()->Visible());
    EXPECT_EQ(sup->PCIForm()->Caption(), "KX-7140 Cards installed");
    EXPECT_EQ(sup->HeaderLabel()->Caption(), "KX-7140 Series Settings Program");
    EXPECT_EQ(form->File1->Items(0)->Caption(), "Display KX-7140 Cards Installed");
}

TEST_F(WithDriver, StartPollsTheChannelsUntilStopped) {
    form->StartButton->Click();
    EXPECT_EQ(form->StartButton->Caption(), "Stop");
    ASSERT_TRUE(sup->Calibrating());
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    const std::vector<std::string> first = Channels();
    ASSERT_EQ(first.size(), 8u);
    for (int ch = 0; ch < 8; ++ch) {
        const std::string label = "Channel " + std::to_string(ch) + "\t";
        ASSERT_EQ(first[ch].rfind(label, 0), 0u) << first[ch];
        const double volts = std::strtod(first[ch].c_str() + label.size(), nullptr);
        EXPECT_NEAR(volts, pxlsim::AdcNominalVolts(ch), 0.01) << first[ch];
        EXPECT_EQ(first[ch].substr(first[ch].size() - 2), " V");
    }
    EXPECT_FALSE(form->CalibHint->Visible());
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_NE(Channels(), first) << "the readings move from tick to tick";
    EXPECT_TRUE(ts::MessageBoxes().empty());

    form->StartButton->Click(); // now Stop
    EXPECT_FALSE(sup->Calibrating());
    EXPECT_FALSE(ts::AnyTimerRunning());
    EXPECT_EQ(form->StartButton->Caption(), "Start");
    ts::ProcessPendingMessages();
    form->StartButton->Click(); // and Start again
    EXPECT_TRUE(sup->Calibrating());
    EXPECT_EQ(sup->CalibRecords().size(), 1u);
}

TEST_F(WithoutDriver, NoCardFoundAndTheCycleReportsTotalFailure) {
    EXPECT_EQ(DriverCardCount(), 0);
    EXPECT_EQ(Cards(), std::vector<std::string>{"No Card Found"});
    EXPECT_TRUE(sup->PCIForm()->Visible());
    EXPECT_EQ(sup->HeaderLabel()->Caption(), "No KX-7140 Series Card Found");

    Answer(IDCANCEL);
    form->StartButton->Click();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(FailurePrompts(), 1u);
    EXPECT_EQ(Channels()[5], "Channel 5\tno driver");
    EXPECT_FALSE(sup->Calibrating());
    EXPECT_EQ(form->StartButton->Caption(), "Start");
}

TEST_F(WithoutGetNumCards, CountsAsNoCard) {
    EXPECT_EQ(DriverCardCount(), 0);
    EXPECT_NE(llpxldrv::Entries().QueryCardInfo, nullptr) << "the library itself was bound";
    EXPECT_FALSE(llpxldrv::DriverAvailable());
    EXPECT_EQ(Cards(), std::vector<std::string>{"No Card Found"});
    EXPECT_EQ(sup->HeaderLabel()->Caption(), "No KX-7140 Series Card Found");
}

TEST_F(FailedConverter, CardsAreListedButEveryPollFails) {
    EXPECT_EQ(Cards().size(), 2u);
    EXPECT_EQ(sup->HeaderLabel()->Caption(), "KX-7140 Series Settings Program");

    Answer(IDRETRY);
    form->StartButton->Click();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(FailurePrompts(), 1u);
    EXPECT_EQ(Channels()[0], "Channel 0\tno reading");
    EXPECT_TRUE(sup->Calibrating()) << "Retry";
    EXPECT_EQ(form->StartButton->Caption(), "Stop");

    Answer(IDCANCEL);
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(FailurePrompts(), 2u);
    EXPECT_FALSE(sup->Calibrating());
    EXPECT_FALSE(ts::AnyTimerRunning());
    EXPECT_EQ(form->StartButton->Caption(), "Start");
}
