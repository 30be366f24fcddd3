// The application object: idle, the central exception handler, the message loop's end, and the
// hidden message window's timers.
#include "platform/StdCtrls.h"
#include "platform/TestSeams.h"
#include "platform/Timers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace ui;
namespace seam = ui::testing;

namespace {

class PlatformApplication : public ::testing::Test {
protected:
    void SetUp() override { seam::InitTestApplication(); }
    void TearDown() override { seam::DoneTestApplication(); }
};

} // namespace

// ---------------------------------------------------------------- deferred work and repaints

TEST_F(PlatformApplication, QueuedCallsRunLaterInOrderAndReportWhatEscapes) {
    std::vector<int> order;
    Application->QueueAsyncCall([&] { order.push_back(1); });
    Application->QueueAsyncCall([] { throw Exception("Queued work failed"); });
    Application->QueueAsyncCall([&] { order.push_back(2); });
    EXPECT_TRUE(order.empty());
    seam::ProcessPendingMessages();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    ASSERT_EQ(seam::MessageBoxes().size(), 1u);
    EXPECT_EQ(seam::MessageBoxes()[0].text, "Queued work failed.");
}

TEST_F(PlatformApplication, CallQueuedForAnEndedApplicationIsDropped) {
    bool ran = false;
    Application->QueueAsyncCall([&] { ran = true; });
    seam::DoneTestApplication();
    seam::InitTestApplication();
    seam::ProcessPendingMessages();
    EXPECT_FALSE(ran);
}

namespace {
class CountingControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int paints = 0;
    void Paint(TCanvas&) override { ++paints; }
};
} // namespace

TEST_F(PlatformApplication, RepaintPaintsAtOnceWhereInvalidateWaitsForTheLoop) {
    TForm* form = Application->CreateForm<TForm>();
    auto* c = new CountingControl(form);
    c->SetParent(form);
    c->SetBounds(10, 10, 50, 40);
    form->Show();
    seam::ProcessPendingMessages();
    int before = c->paints;
    ASSERT_GT(before, 0);
    c->Invalidate();
    EXPECT_EQ(c->paints, before);
    c->Repaint();
    EXPECT_EQ(c->paints, before + 1);
    seam::ProcessPendingMessages();
    EXPECT_GE(c->paints, before + 1);
}

// ---------------------------------------------------------------- idle

TEST_F(PlatformApplication, IdleStartsOnlyAfterTheMainFormsFirstPaint) {
    TForm* mainForm = Application->CreateForm<TForm>();
    TForm* other = Application->CreateForm<TForm>();
    int idles = 0;
    Application->OnIdle = [&](TObject* sender, bool& done) {
        EXPECT_EQ(sender, Application);
        EXPECT_TRUE(done);
        ++idles;
    };
    seam::RunIdle();
    // Another window painting does not count.
    other->Show();
    seam::ProcessPendingMessages();
    seam::RunIdle();
    // Shown but not painted yet.
    mainForm->Show();
    seam::RunIdle();
    EXPECT_EQ(idles, 0);
    seam::ProcessPendingMessages();
    ASSERT_TRUE(mainForm->FirstPaintDone());
    seam::RunIdle();
    seam::RunIdle();
    EXPECT_EQ(idles, 2);
}

TEST_F(PlatformApplication, IdleHandlerThatUnhooksItselfRunsOnce) {
    TForm* mainForm = Application->CreateForm<TForm>();
    mainForm->Show();
    seam::ProcessPendingMessages();
    int runs = 0;
    std::string captured = "state the handler still needs after unhooking";
    Application->OnIdle = [&runs, captured](TObject*, bool&) {
        Application->OnIdle = nullptr;
        // Its own captures are still alive while it runs.
        EXPECT_FALSE(captured.empty());
        ++runs;
    };
    seam::RunIdle();
    seam::RunIdle();
    seam::RunIdle();
    EXPECT_EQ(runs, 1);
}

// ---------------------------------------------------------------- exceptions

namespace {

struct ErrorCase {
    const char* thrown;
    const char* shown;
};
void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.thrown;
}

class PlatformErrorBox : public PlatformApplication,
                         public ::testing::WithParamInterface<ErrorCase> {};

} // namespace

TEST_P(PlatformErrorBox, OneStandardBoxAndTheProgramGoesOn) {
    Application->Title = "Setup";
    Application->HandleException(nullptr, Exception(GetParam().thrown));
    ASSERT_EQ(seam::MessageBoxes().size(), 1u);
    const auto& box = seam::MessageBoxes()[0];
    EXPECT_EQ(box.text, GetParam().shown);
    EXPECT_EQ(box.caption, "Setup");
    EXPECT_EQ(box.flags & 0xF0u, MB_ICONERROR);
    EXPECT_EQ(box.flags & 0xFu, MB_OK);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlatformErrorBox,
                         ::testing::Values(ErrorCase{"Not enough timers available",
                                                     "Not enough timers available."},
                                           ErrorCase{"Card not found.", "Card not found."}));

TEST_F(PlatformApplication, ExceptionFromAClickReachedThroughQtIsReportedNotPropagated) {
    TForm* f = Application->CreateForm<TForm>();
    auto* ok = new TButton(f);
    ok->SetParent(f);
    ok->Default = true;
    int clicks = 0;
    ok->OnClick = [&](TObject*) {
        ++clicks;
        throw Exception("Card not found");
    };
    f->Show();
    seam::ProcessPendingMessages();

    EXPECT_NO_THROW(seam::PressKey(f, TForm::VK_RETURN));
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(seam::MessageBoxes().size(), 1u);
    EXPECT_EQ(seam::MessageBoxes()[0].text, "Card not found.");
    EXPECT_EQ(seam::MessageBoxes()[0].caption, Application->Title);
    EXPECT_EQ(seam::MessageBoxes()[0].flags & 0xF0u, MB_ICONERROR);
    // The program goes on: the form is still there and answers the next key.
    EXPECT_TRUE(f->Visible());
    EXPECT_NO_THROW(seam::PressKey(f, TForm::VK_RETURN));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(seam::MessageBoxes().size(), 2u);
}

// ---------------------------------------------------------------- the message loop's end

TEST_F(PlatformApplication, ClosingTheMainFormEndsTheRunningLoopWithOtherWindowsOpen) {
    TForm* mainForm = Application->CreateForm<TForm>();
    TForm* tool = Application->CreateForm<TForm>();
    tool->SetBounds(50, 50, 200, 100);
    int mainCloses = 0, toolCloses = 0, idles = 0;
    mainForm->OnClose = [&](TObject*, TCloseAction&) { ++mainCloses; };
    tool->OnClose = [&](TObject*, TCloseAction&) { ++toolCloses; };
    tool->Show();
    Application->OnIdle = [&](TObject*, bool&) {
        if (++idles == 1) mainForm->Close();
    };
    // A safety net only: should the loop never end by itself, a timer ends it and the test fails
    // on the counts below instead of hanging.
    bool timedOut = false;
    TMessageWindow watchdog([&](TMessage& m) {
        if (m.Msg == WM_TIMER) {
            timedOut = true;
            Application->Terminate();
        }
    });
    ASSERT_TRUE(watchdog.SetTimer(1, 20000));
    Application->Run();
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(idles, 1);
    EXPECT_EQ(mainCloses, 1);
    EXPECT_EQ(toolCloses, 0);
}

// ---------------------------------------------------------------- timers

TEST_F(PlatformApplication, MessageWindowTimersTickOncePerRunningTimer) {
    std::vector<std::pair<unsigned, WPARAM>> ticks;
    TMessageWindow w([&](TMessage& m) { ticks.emplace_back(m.Msg, m.WParam); });
    EXPECT_FALSE(w.TimerRunning(1));
    ASSERT_TRUE(w.SetTimer(1, 100));
    ASSERT_TRUE(w.SetTimer(2, 50));
    ASSERT_TRUE(w.SetTimer(1, 100)); // restarting keeps one timer
    EXPECT_TRUE(w.TimerRunning(1));
    EXPECT_TRUE(seam::AnyTimerRunning());
    EXPECT_EQ(seam::DeliverTimerTicks(), 2);
    EXPECT_EQ(ticks, (std::vector<std::pair<unsigned, WPARAM>>{{WM_TIMER, 1}, {WM_TIMER, 2}}));

    ticks.clear();
    w.KillTimer(1);
    w.KillTimer(7); // not running: harmless
    EXPECT_FALSE(w.TimerRunning(1));
    EXPECT_EQ(seam::DeliverTimerTicks(), 1);
    EXPECT_EQ(ticks, (std::vector<std::pair<unsigned, WPARAM>>{{WM_TIMER, 2}}));
    w.KillTimer(2);
    EXPECT_FALSE(seam::AnyTimerRunning());
    EXPECT_EQ(seam::DeliverTimerTicks(), 0);
}

TEST_F(PlatformApplication, RefusedTimerIsReportedToTheCaller) {
    TMessageWindow w([](TMessage&) {});
    seam::RefuseTimers(true);
    EXPECT_FALSE(w.SetTimer(1, 100));
    EXPECT_FALSE(w.TimerRunning(1));
    EXPECT_EQ(seam::DeliverTimerTicks(), 0);
    seam::RefuseTimers(false);
    EXPECT_TRUE(w.SetTimer(1, 100));
    EXPECT_EQ(seam::DeliverTimerTicks(), 1);
}

TEST_F(PlatformApplication, TickThatStopsTimersOrFreesItsWindowIsSafe) {
    int firstTicks = 0, secondTicks = 0;
    std::unique_ptr<TMessageWindow> second;
    TMessageWindow first([&](TMessage& m) {
        ++firstTicks;
        if (m.WParam == 1) {
            first.KillTimer(2); // a timer of the same window that has not ticked yet
            second.reset();     // and another window altogether
        }
    });
    second = std::make_unique<TMessageWindow>([&](TMessage&) { ++secondTicks; });
    ASSERT_TRUE(first.SetTimer(1, 100));
    ASSERT_TRUE(first.SetTimer(2, 100));
    ASSERT_TRUE(second->SetTimer(1, 100));
    EXPECT_EQ(seam::DeliverTimerTicks(), 1);
    EXPECT_EQ(firstTicks, 1);
    EXPECT_EQ(secondTicks, 0);
}

TEST_F(PlatformApplication, ExceptionInATickIsReportedAndTimersGoOn) {
    int ticks = 0;
    TMessageWindow w([&](TMessage&) {
        ++ticks;
        throw EOutOfResources("Not enough timers available");
    });
    ASSERT_TRUE(w.SetTimer(1, 100));
    EXPECT_NO_THROW(seam::DeliverTimerTicks());
    EXPECT_NO_THROW(seam::DeliverTimerTicks());
    EXPECT_EQ(ticks, 2);
    ASSERT_EQ(seam::MessageBoxes().size(), 2u);
    EXPECT_EQ(seam::MessageBoxes()[0].text, "Not enough timers available.");
    EXPECT_TRUE(w.TimerRunning(1));
}
