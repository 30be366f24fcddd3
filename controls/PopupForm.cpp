#include "controls/PopupForm.h"

#include "controls/BoardHighlight.h"
#include "platform/ChildControls.h"

namespace ui {

bool InsideOuterRect(const TForm& form, TPoint screen) {
    // Left and top edges inside, right and bottom edges outside.
    return form.ShownRect().Contains(screen);
}

TPopupForm::TPopupForm(TComponent* owner) : TForm(owner) {}

void TPopupForm::BuildChildren(int memoHeight) {
    // Laid out at 96 pixels per inch, at the window's resolution.
    auto px = [this](int v) { return ScalePixels(v); };
    const int cw = ClientWidth(), ch = ClientHeight();
    const int gap = px(6), buttonW = px(58), buttonH = px(25), statusH = px(19);
    const int buttonTop = ch - statusH - buttonH;
    PopupStatus = Add<TStatusBar>(this, this, "PopupStatus");
    PopupStatus->SetAlign(TAlign::alNone);
    PopupStatus->SetBounds(0, ch - statusH, cw, statusH);
    PopupStatus->SetAnchors(akLeft | akRight | akBottom);
    PopupStatus->Panels = {TStatusPanel{"", px(50), TBevelCut::bvNone}};

    previous_ = Add<TButton>(this, this, "PreviousButton", Bounds(gap, buttonTop, buttonW, buttonH),
                             "Previous");
    previous_->SetAnchors(akLeft | akBottom);
    next_ = Add<TButton>(this, this, "NextButton",
                         Bounds((cw - buttonW) / 2, buttonTop, buttonW, buttonH), "Next");
    next_->SetAnchors(akBottom);
    done_ = Add<TButton>(this, this, "DoneButton",
                         Bounds(cw - buttonW - gap, buttonTop, buttonW, buttonH), "Done");
    done_->SetAnchors(akRight | akBottom);
    // Esc does what Done does, so that a keyboard user closes the window as a mouse user would.
    done_->Cancel = true;

    memo_ = Add<TMemo>(this, this, "StatusMemo",
                       Bounds(gap, done_->Top() - gap - memoHeight, cw - 2 * gap, memoHeight));
    memo_->SetAnchors(akLeft | akTop | akRight | akBottom);
    memo_->SetReadOnly(true);
    memo_->SetScrollBars(TScrollStyle::ssVertical);
    memo_->Lines.Clear();
}

void TPopupForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ACTIVATE: {
        // Answered here, without the form's default processing: the circles switch between
        // their lit and bright images; the focus stays where it is.
        bool active = (m.WParam & 0xFFFF) != WA_INACTIVE;
        if (Circle) Circle->SetPopupActive(active, true);
        if (active) {
            if (FirstActivateHandler)
                FirstActivateHandler(this);
            else if (SecondActivateHandler)
                SecondActivateHandler(this);
        }
        m.Result = 0;
        return;
    }
    case CM_MOUSELEAVE:
        // Also sent when the pointer leaves one of the window's controls: only leaving the
        // whole window counts.
        if (CloseOnLeave && !InsideOuterRect(*this, Screen->CursorPos())) {
            Close();
            return;
        }
        break;
    default:
        break;
    }
    TForm::WndProc(m);
}

} // namespace ui
