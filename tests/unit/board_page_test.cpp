// The board page: what the page definition creates, and the handlers that keep each jumper
// drawing in step with its radio buttons or lists.
#include "app/Template.h"
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

class BoardPage : public ::testing::Test {
protected:
    void SetUp() override {
        ui::testing::InitTestApplication();
        form = Application->CreateForm<TMainForm>();
    }
    void TearDown() override { ui::testing::DoneTestApplication(); }

    std::array<TThreeJumper*, 4> Jumpers() const {
        return {form->DIOPullJumperA, form->DIOPullJumperB, form->DIOPullJumperCL,
                form->DIOPullJumperCH};
    }
    std::array<TComboBox*, 4> Combos() const {
        return {form->DIOPullComboA, form->DIOPullComboB, form->DIOPullComboCL,
                form->DIOPullComboCH};
    }
    TMainForm* form = nullptr;
};

TEST_F(BoardPage, StartsConsistentWithoutRunningAnyHandler) {
    for (TComboBox* c : Combos()) {
        EXPECT_EQ(c->ItemIndex(), 0);
        EXPECT_EQ(c->Text(), "Pull Up");
        EXPECT_EQ(c->Style, TComboBoxStyle::csDropDownList);
    }
    EXPECT_EQ(form->CTRPullCombo->Text(), "Pull Up");
    for (TThreeJumper* j : Jumpers())
        EXPECT_EQ(j->JumperState(), TJumperState::jsLeft);
    EXPECT_EQ(form->CTRPullJumper->JumperState(), TJumperState::jsLeft);
    EXPECT_EQ(form->LevelJumper->JumperState(), TJumperState::jsRight);
    EXPECT_TRUE(form->LevelRadio5->Checked());
    EXPECT_FALSE(form->LevelRadio3->Checked());
    EXPECT_FALSE(form->LevelJumper->AllowOpen());
    EXPECT_FALSE(form->CTRPullJumper->AllowOpen());
    EXPECT_TRUE(form->DIOPullJumperA->AllowOpen());
}

TEST_F(BoardPage, PanelsAndPictureAsThePageDefinesThem) {
    struct Case {
        TRadioPanel* panel;
        TRect bounds;
        int tabOrder;
        const char* firstWords;
    } cases[] = {
        {form->LevelPanel, Bounds(536, -16, 233, 73), 1, "This jumper sets the voltage level"},
        {form->DIOPullPanel, Bounds(8, 264, 265, 225), 2, "Each port's digital bits"},
        {form->CTRPullPanel, Bounds(408, 248, 313, 57), 3, "When the counters are tristated"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.panel->Name());
        EXPECT_FALSE(c.panel->Visible());
        EXPECT_EQ(c.panel->BevelOuter(), TBevelCut::bvNone);
        EXPECT_EQ(c.panel->BoundsRect(), c.bounds);
        EXPECT_EQ(c.panel->TabOrder(), c.tabOrder);
        ASSERT_EQ(c.panel->Lines().Count(), 1);
        EXPECT_EQ(c.panel->Lines()[0].rfind(c.firstWords, 0), 0u);
        EXPECT_EQ(c.panel->Parent(), form);
    }
    EXPECT_EQ(form->Label15->Caption(), "Port C");
    EXPECT_EQ(form->Label15->Layout(), TTextLayout::tlCenter);
    EXPECT_EQ(form->Label3->Alignment(), TAlignment::taRightJustify);
    EXPECT_FALSE(form->Label3->AutoSize());
    EXPECT_EQ(form->Label3->BoundsRect(), Bounds(132, 24, 41, 17));

    TBoardImage* board = form->BoardImage1;
    EXPECT_EQ(board->Picture().Width(), 600);
    EXPECT_EQ(board->Picture().Height(), 418);
    EXPECT_DOUBLE_EQ(board->AspectRatio(), 418.0 / 600.0);
    EXPECT_TRUE(board->Stretch());
    EXPECT_FALSE(board->AutoSize());
    EXPECT_EQ(board->Menu(), form->MainMenu1);
    EXPECT_EQ(board->BoundsRect(), Bounds(80, 72, 600, 418));
}

TEST_F(BoardPage, PickingFloatingMovesOnlyThatPortsJumper) {
    form->DIOPullComboCL->UserPicked(2);
    EXPECT_EQ(form->DIOPullJumperCL->JumperState(), TJumperState::jsOpen);
    for (TThreeJumper* j : {form->DIOPullJumperA, form->DIOPullJumperB, form->DIOPullJumperCH})
        EXPECT_EQ(j->JumperState(), TJumperState::jsLeft);
}

TEST_F(BoardPage, ClickingAPullJumperCyclesItsList) {
    const char* expected[] = {"Pull Down", "Floating", "Pull Up"};
    for (const char* text : expected) {
        form->DIOPullJumperA->Click();
        EXPECT_EQ(form->DIOPullComboA->Text(), text);
        // The other lists are rewritten with what their own jumpers show.
        EXPECT_EQ(form->DIOPullComboB->Text(), "Pull Up");
    }
}

TEST_F(BoardPage, EveryListAndJumperStateTranslatesBothWays) {
    for (int index = 0; index < 3; ++index) {
        form->DIOPullComboB->UserPicked(index);
        TJumperState s = form->DIOPullJumperB->JumperState();
        EXPECT_EQ(PullStateToIndex[static_cast<size_t>(s)], index);
    }
}

TEST_F(BoardPage, LevelJumperAndRadioButtonsFollowEachOther) {
    int radioClicks = 0;
    auto original = form->LevelRadio3->OnClick;
    form->LevelRadio3->OnClick = [&](TObject* s) {
        ++radioClicks;
        original(s);
    };
    form->LevelJumper->Click();
    EXPECT_EQ(form->LevelJumper->JumperState(), TJumperState::jsLeft);
    EXPECT_TRUE(form->LevelRadio3->Checked());
    EXPECT_FALSE(form->LevelRadio5->Checked());
    EXPECT_EQ(radioClicks, 1);
    form->LevelJumper->Click();
    EXPECT_EQ(form->LevelJumper->JumperState(), TJumperState::jsRight);
    EXPECT_TRUE(form->LevelRadio5->Checked());
    // Many clicks never show the removed jumper.
    for (int i = 0; i < 5; ++i) {
        form->LevelJumper->Click();
        EXPECT_NE(form->LevelJumper->JumperState(), TJumperState::jsOpen);
    }
}

TEST_F(BoardPage, CheckingARadioButtonSetsTheLevelJumper) {
    form->LevelRadio3->SetChecked(true);
    EXPECT_EQ(form->LevelJumper->JumperState(), TJumperState::jsLeft);
    form->LevelRadio5->SetChecked(true);
    EXPECT_EQ(form->LevelJumper->JumperState(), TJumperState::jsRight);
    // Checking the checked button again changes nothing.
    form->LevelJumper->SetJumperState(TJumperState::jsLeft);
    form->LevelRadio5->SetChecked(true);
    EXPECT_EQ(form->LevelJumper->JumperState(), TJumperState::jsLeft);
}

TEST_F(BoardPage, CounterJumperAndListFollowEachOther) {
    form->CTRPullJumper->Click();
    EXPECT_EQ(form->CTRPullCombo->Text(), "Pull Down");
    form->CTRPullJumper->Click();
    EXPECT_EQ(form->CTRPullCombo->Text(), "Pull Up");
    form->CTRPullCombo->UserPicked(1);
    EXPECT_EQ(form->CTRPullJumper->JumperState(), TJumperState::jsRight);
    form->CTRPullCombo->UserPicked(0);
    EXPECT_EQ(form->CTRPullJumper->JumperState(), TJumperState::jsLeft);
}

} // namespace
