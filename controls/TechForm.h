// The technical-support window: how to reach the maker's support, and a Close button.
#pragma once

#include "platform/StdCtrls.h"

namespace ui {

class TTechForm : public TForm {
    UI_CLASS(TTechForm)
public:
    explicit TTechForm(TComponent* owner);
    // Composes the window in code, hidden, owned by the main window, showing `supportText`; the
    // Close button runs `closeClick` (the supporter's handler, which serves other windows too).
    static TTechForm* Build(TForm* main, const std::string& supportText, TNotifyEvent closeClick);

    TMemo* TechMemo = nullptr;
    TButton* CloseButton = nullptr;
};

} // namespace ui
