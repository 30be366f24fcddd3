// The circles' kind menus, Previous and Next, and the guided tour.
#include "app/Template.h"
#include "controls/BoardHighlight.h"
#include "controls/PopupForm.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

using namespace ui;
namespace ts = ui::testing;

namespace {

std::vector<std::string> Captions(TMenuItem* parent) {
    std::vector<std::string> out;
    for (int i = 0; i < parent->Count(); ++i)
        out.push_back(parent->Items(i)->Caption());
    return out;
}
std::vector<std::string> Names(TMenuItem* parent) {
    std::vector<std::string> out;
    for (int i = 0; i < parent->Count(); ++i)
        out.push_back(parent->Items(i)->Name());
    return out;
}
using Strings = std::vector<std::string>;

class MenusOnThePage : public ::testing::Test {
protected:
    void SetUp() override {
        ts::InitTestApplication();
        ts::SetScreenSize(1024, 768);
        form = Application->CreateForm<TMainForm>();
        form->Show();
        ts::ProcessPendingMessages();
        ts::RunIdle();
        ts::ProcessPendingMessages();
        ts::SetCursorPos(5, 760); // over the main window, away from every circle
        settings = form->MainMenu1->Items()->Items(1);
    }
    void TearDown() override { ts::DoneTestApplication(); }
    TMenuItem* Entry(int i) const { return settings->Items(i); }
    // The one visible tool window, or none.
    TPopupForm* Shown() const {
        TPopupForm* found = nullptr;
        for (TForm* f : Application->Forms())
            if (auto* p = dynamic_cast<TPopupForm*>(f); p && p->Visible()) {
                EXPECT_EQ(found, nullptr) << "more than one tool window is open";
                found = p;
            }
        return found;
    }
    TMainForm* form = nullptr;
    TMenuItem* settings = nullptr;
};

} // namespace

TEST_F(MenusOnThePage, TheFirstPaintAddsTheSettingsMenuBetweenFileAndHelp) {
    TMenuItem* bar = form->MainMenu1->Items();
    EXPECT_EQ(Captions(bar), (Strings{"&File", "&Settings", "&Help"}));
    EXPECT_EQ(settings->Name(), "Settings1");
    EXPECT_EQ(settings->Owner(), form);
    EXPECT_EQ(Captions(settings),
              (Strings{"High &Voltage Level", "&Digital Pull Up/Down", "&Counter Pull Up/Down"}));
    EXPECT_EQ(Names(settings),
              (Strings{"HighVoltageLevel1", "DigitalPullUpDown1", "CounterPullUpDown1"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Entry(i)->Owner(), form);
        EXPECT_FALSE(Entry(i)->Checked());
    }
}

TEST_F(MenusOnThePage, AnEntryOpensAndPinsItsWindowAndAgainClosesIt) {
    Entry(0)->Click();
    TPopupForm* w = Shown();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Caption(), "High Voltage Level");
    EXPECT_TRUE(form->VCCHighlight0->Pinned());
    EXPECT_TRUE(Entry(0)->Checked());
    Entry(0)->Click();
    EXPECT_EQ(Shown(), nullptr);
    EXPECT_FALSE(Entry(0)->Checked());
    EXPECT_FALSE(form->VCCHighlight0->Hot());
}

TEST_F(MenusOnThePage, AnOpenUnpinnedWindowIsPinnedByItsEntry) {
    form->DIOPullHighlight->Perform(CM_MOUSEENTER);
    ASSERT_NE(Shown(), nullptr);
    EXPECT_FALSE(Entry(1)->Checked());
    Entry(1)->Click();
    EXPECT_NE(Shown(), nullptr);
    EXPECT_TRUE(form->DIOPullHighlight->Pinned());
    EXPECT_TRUE(Entry(1)->Checked());
}

TEST_F(MenusOnThePage, TheEntryClosesTheWindowThatATwinBuilt) {
    // The right counter circle builds the group's window; the entry is the left one's.
    TPoint s = form->CTRPullHighlight1->ClientToScreen({20, 13});
    ts::SetCursorPos(s.X, s.Y);
    Application->TrackMouse();
    form->CTRPullHighlight1->Click();
    ASSERT_NE(form->CTRPullHighlight1->Popup(), nullptr);
    EXPECT_EQ(form->CTRPullHighlight0->Popup(), nullptr);
    EXPECT_TRUE(Entry(2)->Checked());
    Entry(2)->Click();
    EXPECT_EQ(Shown(), nullptr);
    EXPECT_FALSE(Entry(2)->Checked());
    EXPECT_FALSE(form->CTRPullHighlight0->Hot());
    EXPECT_FALSE(form->CTRPullHighlight1->Hot());
}

TEST_F(MenusOnThePage, NextAndPreviousWalkTheMenuOrderAndWrap) {
    Entry(0)->Click();
    const Strings forward{"Digital Pull Up/Down", "Counter Pull Up/Down", "High Voltage Level"};
    for (const auto& caption : forward) {
        Shown()->NextButton()->Click();
        TPopupForm* w = Shown();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->Caption(), caption);
        EXPECT_TRUE(w->Circle->Pinned());
    }
    const Strings backward{"Counter Pull Up/Down", "Digital Pull Up/Down", "High Voltage Level"};
    for (const auto& caption : backward) {
        Shown()->PreviousButton()->Click();
        ASSERT_NE(Shown(), nullptr);
        EXPECT_EQ(Shown()->Caption(), caption);
    }
    // Exactly the shown window's entry carries a mark.
    EXPECT_TRUE(Entry(0)->Checked());
    EXPECT_FALSE(Entry(1)->Checked());
    EXPECT_FALSE(Entry(2)->Checked());
}

TEST_F(MenusOnThePage, TheTourOpensAndPinsTheFirstCircle) {
    ASSERT_EQ(ts::DeliverTimerTicks(), 1);
    THelpForm* help = form->SetSup->HelpForm();
    ASSERT_TRUE(help->Visible());
    help->StartButton->Click();
    EXPECT_FALSE(help->Visible());
    TPopupForm* w = Shown();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Circle, form->VCCHighlight0);
    EXPECT_TRUE(form->VCCHighlight0->Pinned());
    EXPECT_TRUE(Entry(0)->Checked());
    // The pointer elsewhere does not close it.
    ts::SetCursorPos(5, 700);
    Application->TrackMouse();
    EXPECT_TRUE(w->Visible());

    // Without a first circle the tour does nothing.
    w->Close();
    form->BoardImage1->SetFirst(nullptr);
    form->Howtousethisprogram1->Click();
    help->StartButton->Click();
    EXPECT_EQ(Shown(), nullptr);
}

// ---------------------------------------------------------------- small pages

namespace {

class OwnMenus : public ::testing::Test {
protected:
    void SetUp() override {
        ts::InitTestApplication();
        ts::SetScreenSize(1024, 768);
        ts::SetCursorPos(3000, 3000);
        form = Application->CreateForm<TForm>();
        form->SetBounds(0, 0, 800, 600);
        menu = new TMainMenu(form);
        menu->SetName("Menu");
        form->SetMenu(menu);
        for (const char* c : {"&File", "&Help"}) {
            auto* item = new TMenuItem(form);
            item->SetCaption(c);
            menu->Items()->Add(item);
        }
        board = new TBoardImage(form);
        board->SetAutoSize(false);
        board->CenterOnForm = false;
        board->SetBounds(0, 0, 600, 400);
        board->SetMenu(menu);
        board->SetParent(form);
    }
    void TearDown() override { ts::DoneTestApplication(); }
    TBoardHighlight* Circle(const std::string& title, THighlightType type) {
        auto* c = new TBoardHighlight(form);
        c->SetTitle(title);
        c->SetHighlightType(type);
        c->SetBounds(10 + 50 * count_++, 10, 40, 40);
        c->SetParent(board);
        return c;
    }
    void Paint() {
        form->Show();
        ts::ProcessPendingMessages();
        form->Repaint();
    }
    TMenuItem* Kind(const std::string& caption) const {
        for (int i = 0; i < menu->Items()->Count(); ++i)
            if (menu->Items()->Items(i)->Caption() == caption) return menu->Items()->Items(i);
        return nullptr;
    }
    TForm* form = nullptr;
    TMainMenu* menu = nullptr;
    TBoardImage* board = nullptr;
    int count_ = 0;
};

} // namespace

TEST_F(OwnMenus, KindMenusStandInTheirOrderWhateverOrderTheyAppearIn) {
    Circle("Info", THighlightType::htOptions);
    Circle("Offset", THighlightType::htCalibration);
    Circle("Jumper", THighlightType::htSettings);
    Circle("Info", THighlightType::htSettings); // the same title in another kind
    Paint();
    EXPECT_EQ(Captions(menu->Items()),
              (Strings{"&File", "&Settings", "&Calibration", "&Options", "&Help"}));
    EXPECT_EQ(Kind("&Options")->Name(), "Options1");
    EXPECT_EQ(Kind("&Calibration")->Name(), "Calibration1");
    EXPECT_EQ(Captions(Kind("&Settings")), (Strings{"Jumper", "Info"}));
    EXPECT_EQ(Captions(Kind("&Options")), (Strings{"Info"}));
    EXPECT_EQ(Names(Kind("&Settings")), (Strings{"Jumper1", "Info2"}));
}

TEST_F(OwnMenus, NamesTakeTheFirstFreeNumberAndAnEmptyStemTakesTheKind) {
    Circle("A-B", THighlightType::htSettings);
    Circle("AB", THighlightType::htSettings);
    Circle("12/34", THighlightType::htSettings);
    Circle("", THighlightType::htOptions); // makes its kind menu but no entry
    Paint();
    EXPECT_EQ(Names(Kind("&Settings")), (Strings{"AB1", "AB2", "SettingsEntry1"}));
    ASSERT_NE(Kind("&Options"), nullptr);
    EXPECT_EQ(Kind("&Options")->Count(), 0);
}

TEST_F(OwnMenus, WithOneEntryPreviousAndNextReopenTheSameWindowPinned) {
    auto* c = Circle("Only", THighlightType::htSettings);
    Paint();
    Kind("&Settings")->Items(0)->Click();
    TPopupForm* w = c->Popup();
    ASSERT_NE(w, nullptr);
    for (TButton* b : {w->NextButton(), w->PreviousButton()}) {
        b->Click();
        EXPECT_TRUE(w->Visible());
        EXPECT_TRUE(c->Pinned());
        EXPECT_TRUE(Kind("&Settings")->Items(0)->Checked());
    }
}

TEST_F(OwnMenus, WithoutAMenuOrAnEntryNavigationDoesNothing) {
    board->SetMenu(nullptr);
    auto* c = Circle("Lone", THighlightType::htSettings);
    Paint();
    EXPECT_EQ(menu->Items()->Count(), 2);
    c->Perform(CM_MOUSEENTER);
    c->Click();
    TPopupForm* w = c->Popup();
    ASSERT_NE(w, nullptr);
    w->NextButton()->Click();
    w->PreviousButton()->Click();
    EXPECT_TRUE(w->Visible());
}

TEST_F(OwnMenus, ACircleThatGoesHandsItsEntryToATwinOrTakesItAlong) {
    auto* a = Circle("Pair", THighlightType::htSettings);
    auto* b = Circle("Pair", THighlightType::htSettings);
    Paint();
    TMenuItem* entry = Kind("&Settings")->Items(0);
    delete a;
    ASSERT_EQ(Kind("&Settings")->Count(), 1);
    entry->Click();
    EXPECT_NE(b->Popup(), nullptr);
    EXPECT_TRUE(entry->Checked());
    delete b;
    EXPECT_EQ(Kind("&Settings")->Count(), 0);
}
