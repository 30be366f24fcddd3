// The calibration cycle: what a tick does with the page's events and the registered records,
// the failure prompt with retry, the error box for a missing OnGetCalibString, how the cycle
// ends, and that no tick runs behind one of its own boxes. Ticks come from DeliverTimerTicks.
#include "controls/HelpForm.h"
#include "controls/SetupSupporter.h"
#include "platform/Streaming.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace ui;
namespace ts = ui::testing;

namespace {

const char* const FailureText = "Total A/D failure. The card may not be installed, or it may be "
                                "installed at a different base address.";
constexpr unsigned FailureFlags = 0x50135;

// A page with one calibration panel (an eight-line list, a Start button, a hint that the cycle
// hides) and a supporter past its start-up, so that every tick is a calibration tick.
class Calibration : public ::testing::Test {
protected:
    void SetUp() override {
        ts::InitTestApplication();
        ts::SetScreenSize(1024, 768);
        RegisterSetupSupporterClass();
        host = Application->CreateForm<TForm>();
        LoadPageText(*host, "object Host: TForm\n  object Sup: TSetupSupporter\n  end\nend\n",
                     "host");
        sup = dynamic_cast<TSetupSupporter*>(host->FindComponent("Sup"));
        ASSERT_NE(sup, nullptr);
        list = MakeList();
        button = new TButton(host);
        button->SetCaption("Stop");
        button->OnClick = [this](TObject*) { ++stopClicks; };
        hint = new TLabel(host);
        hint->SetParent(host);
        sup->OnStartButtonClick = [this](TObject*) { ++startClicks; };
        sup->SetOnBeginCalib([this](TObject* s) {
            EXPECT_EQ(s, sup);
            ++begins;
        });
        sup->OnGetCalibString = [this](TObject* s, uint8_t channel, bool& allBad) {
            EXPECT_EQ(s, sup);
            polled.push_back(channel);
            flags.push_back(&allBad);
            if (channel == throwAt) throw Exception("The converter hangs");
            if (channel == goodChannel) allBad = false;
            return "tick " + std::to_string(begins) + " ch " + std::to_string(channel);
        };
        Application->OnIdle = [this](TObject* s, bool& d) { sup->AppIdle(s, d); };
        host->Show();
        ts::ProcessPendingMessages();
        ts::RunIdle();
        ASSERT_EQ(ts::DeliverTimerTicks(), 1); // the help window's tick
        ASSERT_FALSE(ts::AnyTimerRunning());
    }
    void TearDown() override { ts::DoneTestApplication(); }

    TMemo* MakeList(int lines = 8) {
        auto* m = new TMemo(host);
        m->SetParent(host);
        for (int i = 0; i < lines; ++i)
            m->Lines.Add("");
        return m;
    }

    void Start() {
        sup->RegisterCalibRecord(&list, &button, &hint);
        sup->StartCalibration();
    }
    // Answers the failure prompt with `answer`; any box is recorded.
    void Answer(int answer) {
        ts::AnswerMessageBoxes([answer](const ts::MessageBoxRecord&) { return answer; });
    }
    std::string Line(const std::string& text, int channel) const {
        return "Channel " + std::to_string(channel) + "\t" + text;
    }

    TForm* host = nullptr;
    TSetupSupporter* sup = nullptr;
    TMemo* list = nullptr;
    TButton* button = nullptr;
    TLabel* hint = nullptr;
    int begins = 0, startClicks = 0, stopClicks = 0;
    int goodChannel = 0; // the channel that reads sensibly, -1 for none
    int throwAt = -1;
    std::vector<int> polled;
    std::vector<bool*> flags;
};

} // namespace

TEST_F(Calibration, EachTickHidesPollsEveryChannelAndWritesEveryList) {
    TMemo* second = MakeList();
    sup->RegisterCalibRecord(&second, &button, &hint);
    Start();
    EXPECT_TRUE(sup->Calibrating());
    EXPECT_TRUE(sup->TimerRunning());
    EXPECT_EQ(begins, 0) << "the first poll waits for the next tick";

    for (int tick = 1; tick <= 3; ++tick) {
        hint->Show();
        ASSERT_EQ(ts::DeliverTimerTicks(), 1);
        EXPECT_EQ(begins, tick) << "OnBeginCalib at every tick";
        EXPECT_FALSE(hint->Visible());
        for (TMemo* m : {list, second}) {
            ASSERT_EQ(m->Lines.Count(), 8);
            for (int ch = 0; ch < 8; ++ch)
                EXPECT_EQ(m->Lines[ch],
                          Line("tick " + std::to_string(tick) + " ch " + std::to_string(ch), ch));
        }
    }
    EXPECT_EQ(polled.size(), 24u);
    for (size_t i = 0; i < polled.size(); ++i)
        EXPECT_EQ(polled[i], int(i % 8));
    // One flag for the whole tick.
    for (int ch = 1; ch < 8; ++ch)
        EXPECT_EQ(flags[ch], flags[0]);
    EXPECT_TRUE(sup->Calibrating());
    EXPECT_TRUE(ts::MessageBoxes().empty());
    EXPECT_EQ(button->Caption(), "Stop") << "a running cycle leaves the buttons alone";
}

TEST_F(Calibration, LineForChannelThreeReadsChannelTabText) {
    sup->OnGetCalibString = [](TObject*, uint8_t, bool& allBad) {
        allBad = false;
        return std::string("1.25 V");
    };
    Start();
    ts::DeliverTimerTicks();
    EXPECT_EQ(list->Lines[3], "Channel 3\t1.25 V");
}

// ---------------------------------------------------------------- when every channel is bad

namespace {
struct PollCase {
    const char* name;
    int channels;
    int goodChannel; // -1: none reads sensibly
    int answer;      // the answer to the failure prompt
    bool prompt;     // the failure prompt comes
    bool runsOn;     // the cycle runs after the tick
};
void PrintTo(const PollCase& c, std::ostream* os) {
    *os << c.name;
}
} // namespace

class AllBad : public Calibration, public ::testing::WithParamInterface<PollCase> {};

TEST_P(AllBad, DecidesAfterTheLastChannel) {
    const PollCase& c = GetParam();
    sup->Channels = static_cast<uint8_t>(c.channels);
    goodChannel = c.goodChannel;
    Answer(c.answer);
    Start();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(polled.size(), size_t(c.channels));
    if (c.channels == 0) {
        EXPECT_EQ(list->Lines.Items(), std::vector<std::string>(8, "")) << "no line written";
    }
    if (c.prompt) {
        ASSERT_EQ(ts::MessageBoxes().size(), 1u);
        EXPECT_EQ(ts::MessageBoxes()[0].text, FailureText);
        EXPECT_EQ(ts::MessageBoxes()[0].caption, "Total A/D failure");
        EXPECT_EQ(ts::MessageBoxes()[0].flags, FailureFlags);
    } else {
        EXPECT_TRUE(ts::MessageBoxes().empty());
    }
    EXPECT_EQ(sup->Calibrating(), c.runsOn);
    EXPECT_EQ(sup->TimerRunning(), c.runsOn);
    // Ended: the button starts again, with the page's start handler.
    EXPECT_EQ(button->Caption(), c.runsOn ? "Stop" : "Start");
    button->Click();
    EXPECT_EQ(startClicks, c.runsOn ? 0 : 1);
    EXPECT_EQ(stopClicks, c.runsOn ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Polls, AllBad,
    ::testing::Values(PollCase{"FirstChannelGood", 8, 0, IDCANCEL, false, true},
                      PollCase{"OnlyTheLastChannelGood", 8, 7, IDCANCEL, false, true},
                      PollCase{"NoneGoodCancel", 8, -1, IDCANCEL, true, false},
                      PollCase{"NoneGoodRetry", 8, -1, IDRETRY, true, true},
                      PollCase{"NoneGoodBoxClosed", 8, -1, 0, true, false},
                      PollCase{"NoChannels", 0, 0, IDCANCEL, true, false},
                      PollCase{"NoChannelsRetry", 0, 0, IDRETRY, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Retry polls again on the next tick, OnBeginCalib first, and prompts again while all is bad.
TEST_F(Calibration, RetryResumesWithTheNextTick) {
    goodChannel = -1;
    Answer(IDRETRY);
    Start();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    ASSERT_EQ(ts::MessageBoxes().size(), 1u);
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(begins, 2);
    EXPECT_EQ(polled.size(), 16u);
    EXPECT_EQ(ts::MessageBoxes().size(), 2u);
    EXPECT_EQ(list->Lines[0], Line("tick 2 ch 0", 0));

    // The channels recover: no prompt, the cycle runs on.
    goodChannel = 4;
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(ts::MessageBoxes().size(), 2u);
    EXPECT_TRUE(sup->Calibrating());
}

TEST_F(Calibration, WithChangeButtonsFalseTheEndLeavesButtonsAlone) {
    sup->ChangeButtons = false;
    goodChannel = -1;
    Answer(IDCANCEL);
    Start();
    ts::DeliverTimerTicks();
    EXPECT_FALSE(sup->Calibrating());
    EXPECT_FALSE(ts::AnyTimerRunning());
    EXPECT_EQ(button->Caption(), "Stop");
    button->Click();
    EXPECT_EQ(stopClicks, 1);
    EXPECT_EQ(startClicks, 0);
}

TEST_F(Calibration, UnassignedOnGetCalibStringEndsTheCycleWithAnError) {
    sup->OnGetCalibString = nullptr;
    Answer(IDOK);
    Start();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(begins, 1) << "OnBeginCalib comes first";
    ASSERT_EQ(ts::MessageBoxes().size(), 1u);
    EXPECT_EQ(ts::MessageBoxes()[0].text,
              "Error: calibration begun, but OnGetCalibString isn't assigned.");
    EXPECT_EQ(ts::MessageBoxes()[0].caption, "OnGetCalibString Not Assigned");
    EXPECT_EQ(ts::MessageBoxes()[0].flags, 0x50030u);
    EXPECT_TRUE(hint->Visible()) << "the tick ends before hiding";
    EXPECT_EQ(list->Lines.Items(), std::vector<std::string>(8, ""));
    EXPECT_FALSE(sup->Calibrating());
    EXPECT_FALSE(ts::AnyTimerRunning());
    EXPECT_EQ(button->Caption(), "Start");
}

TEST_F(Calibration, WithoutRecordsTheEventsAreStillCalled) {
    goodChannel = -1;
    Answer(IDCANCEL);
    sup->StartCalibration();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(polled.size(), 8u);
    EXPECT_EQ(ts::MessageBoxes().size(), 1u);
    EXPECT_FALSE(sup->Calibrating());
    EXPECT_EQ(button->Caption(), "Stop");
}

// ---------------------------------------------------------------- exceptions and re-entry

TEST_F(Calibration, ExceptionInATickIsReportedAndTheNextTickTriesAgain) {
    throwAt = 3;
    Start();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    ASSERT_EQ(ts::MessageBoxes().size(), 1u);
    EXPECT_EQ(ts::MessageBoxes()[0].text, "The converter hangs.");
    EXPECT_EQ(ts::MessageBoxes()[0].flags, MB_OK | MB_ICONERROR);
    // What the tick wrote before stands; the rest is untouched.
    EXPECT_EQ(list->Lines[2], Line("tick 1 ch 2", 2));
    EXPECT_EQ(list->Lines[3], "");
    EXPECT_TRUE(sup->Calibrating());
    EXPECT_TRUE(sup->TimerRunning());

    throwAt = -1;
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(begins, 2);
    EXPECT_EQ(list->Lines[7], Line("tick 2 ch 7", 7));
    EXPECT_EQ(ts::MessageBoxes().size(), 1u);
}

// Boxes are modal loops that keep messages flowing; ticks arriving meanwhile do not poll.
TEST_F(Calibration, NoTickRunsWhileOneOfItsBoxesIsOpen) {
    goodChannel = -1;
    int deliveredDuringPrompt = -1;
    int beginsDuringPrompt = -1;
    ts::AnswerMessageBoxes([&](const ts::MessageBoxRecord&) {
        deliveredDuringPrompt = ts::DeliverTimerTicks();
        beginsDuringPrompt = begins;
        return IDRETRY;
    });
    Start();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(deliveredDuringPrompt, 0) << "the timer stops before the prompt";
    EXPECT_EQ(beginsDuringPrompt, 1);
    EXPECT_EQ(ts::MessageBoxes().size(), 1u);

    // The error report of an exception leaves the timer running: its ticks are dropped.
    goodChannel = 0;
    throwAt = 0;
    int beginsDuringReport = -1;
    ts::AnswerMessageBoxes([&](const ts::MessageBoxRecord&) {
        EXPECT_EQ(ts::DeliverTimerTicks(), 1);
        EXPECT_EQ(ts::DeliverTimerTicks(), 1);
        beginsDuringReport = begins;
        return IDOK;
    });
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(beginsDuringReport, 2);
    EXPECT_EQ(ts::MessageBoxes().size(), 2u) << "one report, not one per tick";
    EXPECT_EQ(begins, 2);
    // Afterwards ticks poll again.
    throwAt = -1;
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(begins, 3);
}

// ---------------------------------------------------------------- records and lists

TEST_F(Calibration, AShortListGrowsSoThatEveryLineLandsAtItsChannel) {
    TMemo* empty = MakeList(0);
    TMemo* three = MakeList(3);
    TMemo* ten = MakeList(10);
    ten->Lines.Put(9, "kept");
    for (TMemo** m : {&empty, &three, &ten})
        sup->RegisterCalibRecord(m, &button, &hint);
    sup->StartCalibration();
    ts::DeliverTimerTicks();
    for (TMemo* m : {empty, three}) {
        ASSERT_EQ(m->Lines.Count(), 8);
        for (int ch = 0; ch < 8; ++ch)
            EXPECT_EQ(m->Lines[ch], Line("tick 1 ch " + std::to_string(ch), ch));
    }
    ASSERT_EQ(ten->Lines.Count(), 10);
    EXPECT_EQ(ten->Lines[7], Line("tick 1 ch 7", 7));
    EXPECT_EQ(ten->Lines[9], "kept");
}

TEST_F(Calibration, RecordsFollowThePagesReferences) {
    EXPECT_EQ(sup->RegisterCalibRecord(&list, &button, &hint, 5), 0);
    EXPECT_EQ(sup->RegisterCalibRecord(&list, &button, &hint), 0) << "registered once";
    ASSERT_EQ(sup->CalibRecords().size(), 1u);
    EXPECT_EQ(sup->CalibRecords()[0].Tag, 5);

    // The page puts another list in place and drops its hint: the record follows.
    TMemo* old = list;
    list = MakeList();
    hint = nullptr;
    sup->StartCalibration();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(list->Lines[0], Line("tick 1 ch 0", 0));
    EXPECT_EQ(old->Lines[0], "");
}

TEST_F(Calibration, AtMost256Records) {
    std::vector<std::unique_ptr<TMemo*>> refs;
    for (int i = 0; i < 256; ++i) {
        refs.push_back(std::make_unique<TMemo*>(list));
        EXPECT_EQ(sup->RegisterCalibRecord(refs.back().get(), &button, &hint), i);
    }
    TMemo* one = list;
    EXPECT_THROW(sup->RegisterCalibRecord(&one, &button, &hint), Exception);
    EXPECT_EQ(sup->CalibRecords().size(), 256u);
}

// A Stop button whose own handler ends the cycle: the handler that is replaced is the one
// running, and must outlive its call (ASan watches this).
TEST_F(Calibration, AButtonThatEndsTheCycleFromItsOwnHandler) {
    auto calls = std::make_shared<int>(0);
    button->OnClick = [this, calls](TObject*) {
        sup->StopCalibration();
        ++*calls;
    };
    Start();
    button->Click();
    EXPECT_EQ(*calls, 1);
    EXPECT_FALSE(sup->Calibrating());
    EXPECT_FALSE(ts::AnyTimerRunning());
    EXPECT_EQ(button->Caption(), "Start");
    ts::ProcessPendingMessages();
    button->Click();
    EXPECT_EQ(startClicks, 1);
}

// While the help window is pending a tick shows it, even with the cycle already started.
TEST(CalibrationAtStart, TheFirstTickShowsTheHelpWindowAndTheNextPolls) {
    ts::InitTestApplication();
    RegisterSetupSupporterClass();
    auto* host = Application->CreateForm<TForm>();
    LoadPageText(*host, "object Host: TForm\n  object Sup: TSetupSupporter\n  end\nend\n", "host");
    auto* sup = dynamic_cast<TSetupSupporter*>(host->FindComponent("Sup"));
    ASSERT_NE(sup, nullptr);
    int begins = 0;
    sup->SetOnBeginCalib([&begins](TObject*) { ++begins; });
    sup->OnGetCalibString = [](TObject*, uint8_t, bool& allBad) {
        allBad = false;
        return std::string("ok");
    };
    sup->StartCalibration();
    Application->OnIdle = [sup](TObject* s, bool& d) { sup->AppIdle(s, d); };
    host->Show();
    ts::ProcessPendingMessages();
    ts::RunIdle();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_TRUE(sup->HelpForm() && sup->HelpForm()->Visible());
    EXPECT_EQ(begins, 0);
    EXPECT_TRUE(sup->TimerRunning()) << "the cycle keeps the timer";
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_EQ(begins, 1);
    ts::DoneTestApplication();
}
