// The installed-cards window: one line per installed card of the family, and a Close button.
#pragma once

#include "platform/StdCtrls.h"

namespace ui {

class TPCIForm : public TForm {
    UI_CLASS(TPCIForm)
public:
    explicit TPCIForm(TComponent* owner);
    // Composes the window in code, owned by the main window, captioned for `cardName`. It shows
    // at once, before its controls exist, so that it appears while the driver is asked; the
    // Close button runs `closeClick` (the supporter's handler, which serves other windows too).
    static TPCIForm* Build(TForm* main, const std::string& cardName, TNotifyEvent closeClick);

    TMemo* PCIMemo = nullptr;
    TButton* CloseButton = nullptr;
};

} // namespace ui
