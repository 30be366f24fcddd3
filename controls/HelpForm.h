// The help window: what the coloured circles mean, and a Start button that hides the window and
// starts the guided tour on the board picture.
#pragma once

#include "platform/StdCtrls.h"

namespace ui {

class THelpForm : public TForm {
    UI_CLASS(THelpForm)
public:
    explicit THelpForm(TComponent* owner);
    // Composes the window in code, hidden, owned by the main window, with the given RTF
    // document, sized for the current screen.
    static THelpForm* Build(TForm* main, const std::string& document);

    TRichEdit* HelpRich = nullptr;
    TLabel* HelpLabel = nullptr;
    TButton* StartButton = nullptr;
    void StartButtonClick(TObject* sender);
};

} // namespace ui
