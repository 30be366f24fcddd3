#include "app/Template.h"

#include "controls/BoardImage.h"
#include "platform/Streaming.h"

namespace ui {

void RegisterProgramClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterStandardClasses();
    RegisterBoardImageClass();
    RegisterSetupSupportClasses();
    // The root is created by the program, not by the loader.
    ClassRegistry::Get().Register("TMainForm", "TForm", nullptr);
}

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
    RegisterProgramClasses();
    RegisterHandler("FormCreate", [this](TObject* s) { FormCreate(s); });
    RegisterHandler("Exit2Click", [this](TObject* s) { Exit2Click(s); });
    RegisterHandler("Howtousethisprogram1Click",
                    [this](TObject* s) { Howtousethisprogram1Click(s); });
    RegisterHandler("TechnicalSupport1Click", [this](TObject* s) { TechnicalSupport1Click(s); });

    LoadPageResource(*this, "TMAINFORM");
    BindField(*this, MainMenu1, "MainMenu1");
    BindField(*this, File1, "File1");
    BindField(*this, Help1, "Help1");
    BindField(*this, Howtousethisprogram1, "Howtousethisprogram1");
    BindField(*this, Exit2, "Exit2");
    BindField(*this, TechnicalSupport1, "TechnicalSupport1");
    BindField(*this, SetSup, "SetSup");
    DoCreate();
}

void TMainForm::FormCreate(TObject*) {
    TSetupSupporter* sup = SetSup;
    Application->OnIdle = [sup](TObject* s, bool& done) { sup->AppIdle(s, done); };
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

} // namespace ui
