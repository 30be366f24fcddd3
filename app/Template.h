// The main window: its page (menus, board picture, option panels, setup support) comes from the
// page definition stored with the program; its handlers keep the page in step.
#pragma once

#include "controls/SetupSupport.h"

namespace ui {

class TMainForm : public TForm {
    UI_CLASS(TMainForm)
public:
    explicit TMainForm(TComponent* owner);

    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Help1 = nullptr;
    TMenuItem* Howtousethisprogram1 = nullptr;
    TMenuItem* Exit2 = nullptr;
    TMenuItem* TechnicalSupport1 = nullptr;
    TSetupSupporter* SetSup = nullptr;

    void FormCreate(TObject* sender);
    void Exit2Click(TObject* sender);
    void Howtousethisprogram1Click(TObject* sender);
    void TechnicalSupport1Click(TObject* sender);
};

// Registers every class a page definition of this program may name.
void RegisterProgramClasses();

} // namespace ui
