#include "app/Template.h"

#include "platform/Streaming.h"

namespace ui {

void RegisterProgramClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterStandardClasses();
    RegisterBoardImageClass();
    RegisterBoardHighlightClass();
    RegisterRadioPanelClass();
    RegisterThreeJumperClass();
    RegisterSetupSupporterClass();
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
#define UI_BIND_COMPONENT(Class, Name) BindField(*this, Name, #Name);
    UI_MAINFORM_COMPONENTS(UI_BIND_COMPONENT)
#undef UI_BIND_COMPONENT
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
