// A circle's tool window: always on top, the option panel above its explanatory memo, the
// Previous, Next and Done buttons and a status bar. Hidden, never destroyed, when it closes.
#pragma once

#include "platform/StdCtrls.h"

namespace ui {

class TBoardHighlight;

class TPopupForm : public TForm {
    UI_CLASS(TPopupForm)
public:
    explicit TPopupForm(TComponent* owner);

    TStatusBar* PopupStatus = nullptr;
    TBoardHighlight* Circle = nullptr;
    bool CloseOnLeave = false;
    // Raised on activation, the first when assigned, else the second.
    TNotifyEvent FirstActivateHandler;
    TNotifyEvent SecondActivateHandler;

    TButton* PreviousButton() const { return previous_; }
    TButton* NextButton() const { return next_; }
    TButton* DoneButton() const { return done_; }
    TMemo* StatusMemo() const { return memo_; }

    // Builds the status bar, the three buttons and the memo for a client area already sized.
    void BuildChildren(int memoHeight);

    void WndProc(TMessage& m) override;

private:
    TButton* previous_ = nullptr;
    TButton* next_ = nullptr;
    TButton* done_ = nullptr;
    TMemo* memo_ = nullptr;
};

// Whether a screen point lies in the window's outer rectangle, frame and caption included.
bool InsideOuterRect(const TForm& form, TPoint screen);

} // namespace ui
