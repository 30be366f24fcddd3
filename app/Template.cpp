#include "app/Template.h"

#include "platform/Streaming.h"

namespace ui {

void RegisterProgramClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterStandardClasses();
    RegisterBoardImageClass();
    RegisterRadioPanelClass();
    RegisterThreeJumperClass();
    RegisterSetupSupportClasses();
    // The root is created by the program, not by the loader.
    ClassRegistry::Get().Register("TMainForm", "TForm", nullptr);
}

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
    RegisterProgramClasses();
    auto handler = [this](const char* name, void (TMainForm::*fn)(TObject*)) {
        RegisterHandler(name, [this, fn](TObject* s) { (this->*fn)(s); });
    };
    handler("FormCreate", &TMainForm::FormCreate);
    handler("Exit2Click", &TMainForm::Exit2Click);
    handler("Howtousethisprogram1Click", &TMainForm::Howtousethisprogram1Click);
    handler("TechnicalSupport1Click", &TMainForm::TechnicalSupport1Click);
    handler("LevelJumperClick", &TMainForm::LevelJumperClick);
    handler("LevelRadioClick", &TMainForm::LevelRadioClick);
    handler("DIOPullJumperClick", &TMainForm::DIOPullJumperClick);
    handler("DIOPullComboChange", &TMainForm::DIOPullComboChange);
    handler("CTRPullJumperClick", &TMainForm::CTRPullJumperClick);
    handler("CTRPullComboChange", &TMainForm::CTRPullComboChange);

    LoadPageResource(*this, "TMAINFORM");
#define UI_BIND(field) BindField(*this, field, #field)
    UI_BIND(MainMenu1);
    UI_BIND(File1);
    UI_BIND(Help1);
    UI_BIND(Howtousethisprogram1);
    UI_BIND(Exit2);
    UI_BIND(TechnicalSupport1);
    UI_BIND(BoardImage1);
    UI_BIND(SetSup);
    UI_BIND(LevelPanel);
    UI_BIND(Label3);
    UI_BIND(Label1);
    UI_BIND(Label5);
    UI_BIND(LevelRadio3);
    UI_BIND(LevelRadio5);
    UI_BIND(Label4);
    UI_BIND(LevelJumper);
    UI_BIND(DIOPullPanel);
    UI_BIND(Label2);
    UI_BIND(Label6);
    UI_BIND(Label7);
    UI_BIND(DIOPullJumperA);
    UI_BIND(Label8);
    UI_BIND(DIOPullJumperB);
    UI_BIND(Label9);
    UI_BIND(DIOPullJumperCL);
    UI_BIND(Label10);
    UI_BIND(DIOPullJumperCH);
    UI_BIND(Label11);
    UI_BIND(DIOPullComboA);
    UI_BIND(Label12);
    UI_BIND(DIOPullComboB);
    UI_BIND(Label13);
    UI_BIND(DIOPullComboCL);
    UI_BIND(Label14);
    UI_BIND(DIOPullComboCH);
    UI_BIND(Label15);
    UI_BIND(CTRPullPanel);
    UI_BIND(CTRPullJumper);
    UI_BIND(CTRPullCombo);
    UI_BIND(Label17);
    UI_BIND(Label16);
#undef UI_BIND
    DoCreate();
}

std::array<TThreeJumper*, 4> TMainForm::PortJumpers() const {
    return {DIOPullJumperA, DIOPullJumperB, DIOPullJumperCL, DIOPullJumperCH};
}

std::array<TComboBox*, 4> TMainForm::PortCombos() const {
    return {DIOPullComboA, DIOPullComboB, DIOPullComboCL, DIOPullComboCH};
}

void TMainForm::FormCreate(TObject*) {
    TSetupSupporter* sup = SetSup;
    Application->OnIdle = [sup](TObject* s, bool& done) { sup->AppIdle(s, done); };
    // Lists have no selection of their own after loading; selecting from code raises nothing,
    // so the jumpers keep the states the page gave them, which match.
    for (TComboBox* c :
         {DIOPullComboA, DIOPullComboB, DIOPullComboCL, DIOPullComboCH, CTRPullCombo})
        c->SetItemIndex(0);
}

void TMainForm::Exit2Click(TObject*) {
    Close();
}

// Before the first idle moment the windows do not exist yet; the command then does nothing, and
// works a few milliseconds later.
void TMainForm::Howtousethisprogram1Click(TObject*) {
    if (THelpForm* f = SetSup->HelpForm()) f->Show();
}

void TMainForm::TechnicalSupport1Click(TObject*) {
    if (TTechForm* f = SetSup->TechForm()) f->Show();
}

void TMainForm::LevelJumperClick(TObject*) {
    if (LevelJumper->JumperState() == TJumperState::jsLeft)
        LevelRadio3->SetChecked(true);
    else
        LevelRadio5->SetChecked(true);
}

void TMainForm::LevelRadioClick(TObject*) {
    LevelJumper->SetJumperState(LevelRadio3->Checked() ? TJumperState::jsLeft
                                                       : TJumperState::jsRight);
}

void TMainForm::DIOPullJumperClick(TObject*) {
    auto jumpers = PortJumpers();
    auto combos = PortCombos();
    for (size_t i = 0; i < jumpers.size(); ++i)
        combos[i]->SetItemIndex(PullStateToIndex[static_cast<size_t>(jumpers[i]->JumperState())]);
}

void TMainForm::DIOPullComboChange(TObject*) {
    auto jumpers = PortJumpers();
    auto combos = PortCombos();
    for (size_t i = 0; i < jumpers.size(); ++i) {
        int index = combos[i]->ItemIndex();
        // A list always has a selection from FormCreate on; should one lose it, its jumper is
        // left as it is rather than read outside the table.
        if (index >= 0 && index < static_cast<int>(PullIndexToState.size()))
            jumpers[i]->SetJumperState(PullIndexToState[static_cast<size_t>(index)]);
    }
}

void TMainForm::CTRPullJumperClick(TObject*) {
    CTRPullCombo->SetItemIndex(CTRPullJumper->JumperState() == TJumperState::jsLeft ? 0 : 1);
}

void TMainForm::CTRPullComboChange(TObject*) {
    CTRPullJumper->SetJumperState(CTRPullCombo->ItemIndex() == 0 ? TJumperState::jsLeft
                                                                 : TJumperState::jsRight);
}

} // namespace ui
