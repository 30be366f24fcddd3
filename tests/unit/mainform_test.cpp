// The main window from the program's own page definition: what it looks like, how the first idle
// moment and the first timer tick unfold, and its File and Help commands.
#include "app/Template.h"
#include "platform/TestSeams.h"
#include "tests/support/MainWindow.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ui;
namespace ts = ui::testing;

namespace {

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override { form = ts::CreateMainWindow(); }
    void TearDown() override { ts::DoneTestApplication(); }

    void StartUp() { ts::ShowUntilIdle(form); }

    template <class T> int CountForms() const {
        auto forms = Application->Forms();
        return static_cast<int>(std::count_if(
            forms.begin(), forms.end(), [](TForm* f) { return dynamic_cast<T*>(f) != nullptr; }));
    }

    TMainForm* form = nullptr;
};

} // namespace

TEST_F(MainFormTest, PageGivesTheWindowItsMenusAndTheSupporter) {
    EXPECT_EQ(Application->MainForm(), form);
    EXPECT_EQ(form->Name(), "MainForm");
    EXPECT_EQ(form->Caption(), "Setup");
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(form->Position(), TPosition::poScreenCenter);
    EXPECT_EQ(form->Color(), clWhite);
    EXPECT_EQ(form->Align(), TAlign::alClient);
    EXPECT_EQ(form->Font().Name, "MS Sans Serif");
    EXPECT_EQ(form->Font().Height, -11);

    ASSERT_NE(form->MainMenu1, nullptr);
    EXPECT_EQ(form->Menu(), form->MainMenu1);
    TMenuItem* bar = form->MainMenu1->Items();
    ASSERT_EQ(bar->Count(), 2);
    EXPECT_EQ(bar->Items(0), form->File1);
    EXPECT_EQ(bar->Items(1), form->Help1);
    EXPECT_EQ(form->File1->Caption(), "&File");
    ASSERT_EQ(form->File1->Count(), 1);
    EXPECT_EQ(form->File1->Items(0), form->Exit2);
    EXPECT_EQ(form->Exit2->Caption(), "&Exit");
    EXPECT_EQ(form->Help1->Caption(), "&Help");
    ASSERT_EQ(form->Help1->Count(), 2);
    EXPECT_EQ(form->Help1->Items(0), form->Howtousethisprogram1);
    EXPECT_EQ(form->Help1->Items(1), form->TechnicalSupport1);
    EXPECT_EQ(form->Howtousethisprogram1->Caption(), "H&ow to use this program");
    EXPECT_EQ(form->TechnicalSupport1->Caption(), "&Technical Support");
    EXPECT_TRUE(form->Exit2->OnClick);
    EXPECT_TRUE(form->Howtousethisprogram1->OnClick);
    EXPECT_TRUE(form->TechnicalSupport1->OnClick);

    TSetupSupporter* sup = form->SetSup;
    ASSERT_NE(sup, nullptr);
    EXPECT_EQ(sup->Owner(), form);
    EXPECT_EQ(sup->CompanyName, "Telvar");
    EXPECT_EQ(sup->CardNameA, "KX-7140");
    EXPECT_EQ(sup->CardNameB, "KX-7140");
    EXPECT_FALSE(sup->UseCardNameB);
    EXPECT_FALSE(sup->bSeries);
    EXPECT_TRUE(sup->ChangeButtons);
    EXPECT_FALSE(sup->MultiPort);
    EXPECT_EQ(sup->Channels, 8);
    EXPECT_FALSE(sup->CallHow.empty());
    EXPECT_FALSE(sup->OnGetCardString);
    EXPECT_FALSE(sup->OnBeginCalib());

    // FormCreate hooked the supporter's idle handler; nothing is built before it runs.
    EXPECT_TRUE(Application->OnIdle);
    EXPECT_EQ(sup->HelpForm(), nullptr);
    EXPECT_EQ(sup->TechForm(), nullptr);
    EXPECT_EQ(form->FindComponent("HeaderLabel"), nullptr);
    EXPECT_FALSE(ts::AnyTimerRunning());
}

TEST_F(MainFormTest, FirstIdleMomentAddsTheHeaderAndHiddenWindowsOnce) {
    StartUp();
    TSetupSupporter* sup = form->SetSup;

    auto* header = dynamic_cast<TLabel*>(form->FindComponent("HeaderLabel"));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header, sup->HeaderLabel());
    EXPECT_EQ(header->Parent(), form);
    EXPECT_EQ(header->Align(), TAlign::alTop);
    EXPECT_EQ(header->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(header->Font().Name, "Tahoma");
    EXPECT_EQ(header->Font().Size(), 18);
    EXPECT_EQ(header->Font().Style, fsBold);
    EXPECT_EQ(header->Font().Color, clBlack);
    EXPECT_EQ(header->Caption(), "KX-7140 Settings Program");
    EXPECT_EQ(header->Top(), 0);
    EXPECT_EQ(header->Left(), 0);
    EXPECT_EQ(header->Width(), form->ClientWidth());

    ASSERT_NE(sup->HelpForm(), nullptr);
    ASSERT_NE(sup->TechForm(), nullptr);
    EXPECT_EQ(sup->HelpForm()->Owner(), form);
    EXPECT_EQ(sup->TechForm()->Owner(), form);
    EXPECT_EQ(sup->HelpForm()->Parent(), nullptr);
    EXPECT_FALSE(sup->HelpForm()->Visible());
    EXPECT_FALSE(sup->TechForm()->Visible());
    EXPECT_EQ(sup->PCIForm(), nullptr);

    // The handler removed itself, and the help window waits for the timer.
    EXPECT_FALSE(Application->OnIdle);
    EXPECT_TRUE(sup->FirstRun());
    EXPECT_TRUE(sup->TimerRunning());

    const int owned = form->ComponentCount();
    const int children = form->ControlCount();
    const size_t forms = Application->Forms().size();
    THelpForm* help = sup->HelpForm();
    ts::RunIdle();
    ts::ProcessPendingMessages();
    ts::RunIdle();
    EXPECT_EQ(form->ComponentCount(), owned);
    EXPECT_EQ(form->ControlCount(), children);
    EXPECT_EQ(Application->Forms().size(), forms);
    EXPECT_EQ(sup->HelpForm(), help);
    EXPECT_FALSE(help->Visible());
}

TEST_F(MainFormTest, FirstTickShowsTheHelpOnceAndStopsTheTimer) {
    StartUp();
    TSetupSupporter* sup = form->SetSup;
    THelpForm* help = sup->HelpForm();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(ts::AnyTimerRunning());

    EXPECT_EQ(ts::DeliverTimerTicks(), 1);
    EXPECT_TRUE(help->Visible());
    EXPECT_FALSE(sup->FirstRun());
    // An idle program has no timer left to wake it.
    EXPECT_FALSE(ts::AnyTimerRunning());
    EXPECT_FALSE(sup->TimerRunning());
    auto z = Application->ZOrder();
    ASSERT_FALSE(z.empty());
    EXPECT_EQ(z.back(), help);

    help->Hide();
    EXPECT_EQ(ts::DeliverTimerTicks(), 0);
    ts::ProcessPendingMessages();
    ts::RunIdle();
    EXPECT_EQ(ts::DeliverTimerTicks(), 0);
    EXPECT_FALSE(help->Visible());
    EXPECT_TRUE(ts::MessageBoxes().empty());
}

TEST_F(MainFormTest, HelpCommandsShowOneWindowEachTimeAsked) {
    StartUp();
    THelpForm* help = form->SetSup->HelpForm();
    TTechForm* tech = form->SetSup->TechForm();
    ASSERT_NE(help, nullptr);
    ASSERT_NE(tech, nullptr);
    const int helpWidth = help->Width(), helpHeight = help->Height();

    form->Howtousethisprogram1->Click();
    form->Howtousethisprogram1->Click();
    EXPECT_TRUE(help->Visible());
    EXPECT_EQ(CountForms<THelpForm>(), 1);
    EXPECT_EQ(help->Width(), helpWidth);
    EXPECT_EQ(help->Height(), helpHeight);
    auto z = Application->ZOrder();
    EXPECT_EQ(std::count(z.begin(), z.end(), help), 1);

    // Start hides it; the command shows it again, as often as asked.
    help->StartButton->Click();
    EXPECT_FALSE(help->Visible());
    form->Howtousethisprogram1->Click();
    EXPECT_TRUE(help->Visible());
    help->Close();
    EXPECT_FALSE(help->Visible());
    form->Howtousethisprogram1->Click();
    EXPECT_TRUE(help->Visible());
    EXPECT_EQ(form->SetSup->HelpForm(), help);

    form->TechnicalSupport1->Click();
    form->TechnicalSupport1->Click();
    EXPECT_TRUE(tech->Visible());
    EXPECT_EQ(CountForms<TTechForm>(), 1);
    tech->Close();
    EXPECT_FALSE(tech->Visible());
    form->TechnicalSupport1->Click();
    EXPECT_TRUE(tech->Visible());
    EXPECT_EQ(form->SetSup->TechForm(), tech);
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(MainFormTest, HelpCommandsBeforeTheFirstIdleMomentDoNothing) {
    form->Show();
    ts::ProcessPendingMessages();
    const size_t forms = Application->Forms().size();
    EXPECT_NO_THROW(form->Howtousethisprogram1->Click());
    EXPECT_NO_THROW(form->TechnicalSupport1->Click());
    EXPECT_EQ(Application->Forms().size(), forms);
    EXPECT_EQ(form->SetSup->HelpForm(), nullptr);
    EXPECT_TRUE(ts::MessageBoxes().empty());

    // The commands work once the windows exist.
    ts::RunIdle();
    form->TechnicalSupport1->Click();
    ASSERT_NE(form->SetSup->TechForm(), nullptr);
    EXPECT_TRUE(form->SetSup->TechForm()->Visible());
}

// File, Exit ends the program without a prompt; every window goes with the main window (the
// sanitizer build checks that nothing is left behind).
TEST_F(MainFormTest, ExitTerminatesAndTakesEveryWindowAlong) {
    StartUp();
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    form->TechnicalSupport1->Click();
    // A pinned tool window stands in for a circle's: owned by the main window, on top.
    auto* pinned = new TForm(form);
    pinned->SetFormStyle(TFormStyle::fsStayOnTop);
    pinned->SetBorderStyle(TFormBorderStyle::bsToolWindow);
    pinned->Show();
    ts::ProcessPendingMessages();
    ASSERT_TRUE(form->SetSup->HelpForm()->Visible());
    ASSERT_TRUE(form->SetSup->TechForm()->Visible());

    form->Exit2->Click();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(ts::MessageBoxes().empty());
    for (TForm* f : Application->Forms())
        EXPECT_TRUE(f == form || f->Owner() == form) << f->Name();
}

// Ending before the first tick: the supporter goes with the main window and takes its timer along.
TEST_F(MainFormTest, EndingWithTheHelpStillPendingLeavesNoTimer) {
    StartUp();
    ASSERT_TRUE(ts::AnyTimerRunning());
    form->Exit2->Click();
    ts::DoneTestApplication();
    EXPECT_FALSE(ts::AnyTimerRunning());
    EXPECT_EQ(ts::DeliverTimerTicks(), 0);
}
