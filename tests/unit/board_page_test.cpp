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
        const char* text;
    } cases[] = {
        {form->LevelPanel, Bounds(536, -16, 233, 73), 1,
         "This jumper sets the voltage level used for a logic high by the digital bits and "
         "counter signals."},
        {form->DIOPullPanel, Bounds(8, 264, 265, 225), 2,
         "Each port's digital bits can be pulled up or down, or left floating, when in input mode "
         "or tristated. For pull-ups (most common), install these jumpers in the UP position. For "
         "pull-downs, install these jumpers in the DN position. For neither, remove these "
         "jumpers."},
        {form->CTRPullPanel, Bounds(408, 248, 313, 57), 3,
         "When the counters are tristated (the default at power on), their outputs are pulled up "
         "(to VCC I/O level) or down (to ground). Install these jumpers either in the UP position "
         "(for pull-ups), or in the DN position (for pull-downs)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.panel->Name());
        EXPECT_FALSE(c.panel->Visible());
        EXPECT_EQ(c.panel->BevelOuter(), TBevelCut::bvNone);
        EXPECT_EQ(c.panel->BoundsRect(), c.bounds);
        EXPECT_EQ(c.panel->TabOrder(), c.tabOrder);
        ASSERT_EQ(c.panel->Lines().Count(), 1);
        EXPECT_EQ(c.panel->Lines()[0], c.text);
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

// The translation between a pull jumper and its list, as the page's table writes it.
struct PullRow {
    TJumperState state;
    int index;
    const char* text;
};
const PullRow kPullTable[] = {{TJumperState::jsOpen, 2, "Floating"},
                              {TJumperState::jsLeft, 0, "Pull Up"},
                              {TJumperState::jsRight, 1, "Pull Down"}};

TEST_F(BoardPage, EveryListAndJumperStateTranslatesBothWays) {
    for (const PullRow& row : kPullTable) {
        SCOPED_TRACE(row.text);
        // List to jumper: the user's pick.
        form->DIOPullComboB->UserPicked(row.index);
        EXPECT_EQ(form->DIOPullJumperB->JumperState(), row.state);
        EXPECT_EQ(form->DIOPullComboB->Text(), row.text);
        // Jumper to list: a click on another port's jumper rewrites every list from its jumper.
        form->DIOPullComboB->SetItemIndex(-1);
        form->DIOPullJumperB->SetJumperState(row.state);
        form->DIOPullJumperClick(form->DIOPullJumperA);
        EXPECT_EQ(form->DIOPullComboB->ItemIndex(), row.index);
        EXPECT_EQ(form->DIOPullComboB->Text(), row.text);
        EXPECT_EQ(PullStateToIndex[static_cast<size_t>(row.state)], row.index);
        EXPECT_EQ(PullIndexToState[static_cast<size_t>(row.index)], row.state);
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

// ---------------------------------------------------------------- the whole page, table by table

namespace {

enum class Text { None, Left, Right, RightCentred }; // a label's justification and layout

struct PageRow {
    const char* name;
    const char* cls;
    TRect bounds;
    int tabOrder; // windowed controls; -1 for graphic ones
    std::string caption;
    Text text;
    std::vector<std::string> items;
};

struct PageParent {
    const char* name;
    std::vector<PageRow> children; // in creation order
};

const std::vector<std::string> kPulls{"Pull Up", "Pull Down", "Floating"};

const std::vector<PageParent> kPage{
    {"MainForm",
     {{"BoardImage1", "TBoardImage", Bounds(80, 72, 600, 418), 0, "", Text::None, {}},
      {"LevelPanel", "TRadioPanel", Bounds(536, -16, 233, 73), 1, "", Text::None, {}},
      {"DIOPullPanel", "TRadioPanel", Bounds(8, 264, 265, 225), 2, "", Text::None, {}},
      {"CTRPullPanel", "TRadioPanel", Bounds(408, 248, 313, 57), 3, "", Text::None, {}}}},
    {"BoardImage1",
     {{"VCCHighlight0", "TBoardHighlight", Bounds(373, 2, 43, 26), -1, "", Text::None, {}},
      {"DIOPullHighlight", "TBoardHighlight", Bounds(105, 5, 37, 57), -1, "", Text::None, {}},
      {"CTRPullHighlight0", "TBoardHighlight", Bounds(444, 94, 43, 26), -1, "", Text::None, {}},
      {"CTRPullHighlight1", "TBoardHighlight", Bounds(539, 94, 43, 26), -1, "", Text::None, {}}}},
    {"LevelPanel",
     {{"Label3", "TLabel", Bounds(132, 24, 41, 17), -1, "3.3V", Text::Right, {}},
      {"Label1", "TLabel", Bounds(88, 40, 65, 17), -1, "VCC I/O", Text::Right, {}},
      {"Label5", "TLabel", Bounds(24, 16, 65, 17), -1, "High Level", Text::Left, {}},
      {"Label4", "TLabel", Bounds(188, 24, 41, 17), -1, "5V", Text::Left, {}},
      {"LevelJumper", "TThreeJumper", Bounds(160, 40, 43, 18), -1, "", Text::None, {}},
      {"LevelRadio3", "TRadioButton", Bounds(16, 32, 73, 17), 0, "3.3 Volts", Text::None, {}},
      {"LevelRadio5", "TRadioButton", Bounds(16, 48, 73, 17), 1, "5 Volts", Text::None, {}}}},
    {"DIOPullPanel",
     {{"Label2", "TLabel", Bounds(48, 8, 91, 17), -1, "Pull UP", Text::Right, {}},
      {"Label6", "TLabel", Bounds(148, 8, 33, 17), -1, "DN", Text::Left, {}},
      {"Label7", "TLabel", Bounds(48, 24, 65, 17), -1, "PORT A", Text::RightCentred, {}},
      {"DIOPullJumperA", "TThreeJumper", Bounds(120, 24, 43, 18), -1, "", Text::None, {}},
      {"Label8", "TLabel", Bounds(48, 48, 65, 17), -1, "PORT B", Text::RightCentred, {}},
      {"DIOPullJumperB", "TThreeJumper", Bounds(120, 48, 43, 18), -1, "", Text::None, {}},
      {"Label9", "TLabel", Bounds(48, 72, 65, 17), -1, "PORT CL", Text::RightCentred, {}},
      {"DIOPullJumperCL", "TThreeJumper", Bounds(120, 72, 43, 18), -1, "", Text::None, {}},
      {"Label10", "TLabel", Bounds(48, 96, 65, 17), -1, "PORT CH", Text::RightCentred, {}},
      {"DIOPullJumperCH", "TThreeJumper", Bounds(120, 96, 43, 18), -1, "", Text::None, {}},
      {"Label11", "TLabel", Bounds(0, 120, 113, 17), -1, "Port A", Text::RightCentred, {}},
      {"Label12", "TLabel", Bounds(0, 144, 113, 17), -1, "Port B", Text::RightCentred, {}},
      {"Label13", "TLabel", Bounds(56, 168, 57, 17), -1, "Low Half", Text::RightCentred, {}},
      {"Label14", "TLabel", Bounds(56, 192, 57, 17), -1, "High Half", Text::RightCentred, {}},
      {"Label15", "TLabel", Bounds(0, 168, 57, 41), -1, "Port C", Text::RightCentred, {}},
      {"DIOPullComboA", "TComboBox", Bounds(120, 120, 81, 21), 0, "", Text::None, kPulls},
      {"DIOPullComboB", "TComboBox", Bounds(120, 144, 81, 21), 1, "", Text::None, kPulls},
      {"DIOPullComboCL", "TComboBox", Bounds(120, 168, 81, 21), 2, "", Text::None, kPulls},
      {"DIOPullComboCH", "TComboBox", Bounds(120, 192, 81, 21), 3, "", Text::None, kPulls}}},
    {"CTRPullPanel",
     {{"Label17", "TLabel", Bounds(236, 8, 33, 17), -1, "DN", Text::Left, {}},
      {"Label16", "TLabel", Bounds(160, 8, 67, 17), -1, "Pull UP", Text::Right, {}},
      {"CTRPullJumper", "TThreeJumper", Bounds(208, 24, 43, 18), -1, "", Text::None, {}},
      {"CTRPullCombo",
       "TComboBox",
       Bounds(56, 16, 81, 21),
       0,
       "",
       Text::None,
       {"Pull Up", "Pull Down"}}}},
};

} // namespace

TEST_F(BoardPage, EveryComponentAsThePageTablesGiveIt) {
    std::vector<std::string> created; // every component of the page, in creation order
    for (const PageParent& parent : kPage) {
        SCOPED_TRACE(parent.name);
        auto* p = dynamic_cast<TWinControl*>(
            std::string(parent.name) == "MainForm" ? form : form->FindComponent(parent.name));
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(p->ControlCount(), static_cast<int>(parent.children.size()));
        for (int i = 0; i < p->ControlCount(); ++i) {
            const PageRow& row = parent.children[static_cast<size_t>(i)];
            SCOPED_TRACE(row.name);
            TControl* c = p->Controls(i);
            EXPECT_EQ(c->Name(), row.name);
            EXPECT_EQ(c->ClassName(), row.cls);
            EXPECT_EQ(c->Owner(), form);
            EXPECT_EQ(c->BoundsRect(), row.bounds);
            auto* w = dynamic_cast<TWinControl*>(c);
            EXPECT_EQ(w ? w->TabOrder() : -1, row.tabOrder);
            EXPECT_EQ(c->Caption(), row.caption);
            if (auto* label = dynamic_cast<TLabel*>(c)) {
                EXPECT_FALSE(label->AutoSize());
                EXPECT_EQ(label->Alignment(), row.text == Text::Left ? TAlignment::taLeftJustify
                                                                     : TAlignment::taRightJustify);
                EXPECT_EQ(label->Layout(), row.text == Text::RightCentred ? TTextLayout::tlCenter
                                                                          : TTextLayout::tlTop);
            }
            if (auto* combo = dynamic_cast<TComboBox*>(c)) {
                EXPECT_EQ(combo->Items.Items(), row.items);
                EXPECT_EQ(combo->Style, TComboBoxStyle::csDropDownList);
                EXPECT_EQ(combo->ItemHeight, 13);
            }
        }
    }
    // Owned by the main window in the order the page defines them, depth first; the menu and the
    // supporter close the page.
    const std::vector<std::string> order{"BoardImage1",
                                         "VCCHighlight0",
                                         "DIOPullHighlight",
                                         "CTRPullHighlight0",
                                         "CTRPullHighlight1",
                                         "LevelPanel",
                                         "Label3",
                                         "Label1",
                                         "Label5",
                                         "Label4",
                                         "LevelJumper",
                                         "LevelRadio3",
                                         "LevelRadio5",
                                         "DIOPullPanel",
                                         "Label2",
                                         "Label6",
                                         "Label7",
                                         "DIOPullJumperA",
                                         "Label8",
                                         "DIOPullJumperB",
                                         "Label9",
                                         "DIOPullJumperCL",
                                         "Label10",
                                         "DIOPullJumperCH",
                                         "Label11",
                                         "Label12",
                                         "Label13",
                                         "Label14",
                                         "Label15",
                                         "DIOPullComboA",
                                         "DIOPullComboB",
                                         "DIOPullComboCL",
                                         "DIOPullComboCH",
                                         "CTRPullPanel",
                                         "Label17",
                                         "Label16",
                                         "CTRPullJumper",
                                         "CTRPullCombo",
                                         "MainMenu1",
                                         "File1",
                                         "Exit2",
                                         "Help1",
                                         "Howtousethisprogram1",
                                         "TechnicalSupport1",
                                         "SetSup"};
    for (int i = 0; i < form->ComponentCount(); ++i)
        created.push_back(form->Components(i)->Name());
    EXPECT_EQ(created, order);
    EXPECT_EQ(form->FindComponent("MainMenu1")->ClassName(), "TMainMenu");
    EXPECT_EQ(form->FindComponent("SetSup")->ClassName(), "TSetupSupporter");

    // The settings beyond the table's columns.
    EXPECT_TRUE(form->LevelRadio5->Checked());
    EXPECT_TRUE(form->LevelRadio5->TabStop);
    EXPECT_FALSE(form->LevelRadio3->TabStop);
    for (TThreeJumper* j : {form->LevelJumper, form->DIOPullJumperA, form->DIOPullJumperB,
                            form->DIOPullJumperCL, form->DIOPullJumperCH, form->CTRPullJumper})
        EXPECT_TRUE(j->OnClick) << j->Name();
    for (TComboBox* c : {form->DIOPullComboA, form->DIOPullComboB, form->DIOPullComboCL,
                         form->DIOPullComboCH, form->CTRPullCombo})
        EXPECT_TRUE(c->OnChange) << c->Name();
    EXPECT_TRUE(form->LevelRadio3->OnClick);
    EXPECT_TRUE(form->LevelRadio5->OnClick);
}
