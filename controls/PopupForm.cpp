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
    const int cw = ClientWidth(), ch = ClientHeight();
    PopupStatus = Add<TStatusBar>(this, this, "PopupStatus");
    PopupStatus->SetAlign(TAlign::alNone);
    PopupStatus->SetBounds(0, ch - 19, cw, 19);
    PopupStatus->SetAnchors(akLeft | akRight | akBottom);
    PopupStatus->Panels = {TStatusPanel{"", 50, TBevelCut::bvNone}};

    previous_ = Add<TButton>(this, this, "PreviousButton", Bounds(6, ch - 44, 58, 25), "Previous");
    previous_->SetAnchors(akLeft | akBottom);
    next_ = Add<TButton>(this, this, "NextButton", Bounds((cw - 58) / 2, ch - 44, 58, 25), "Next");
    next_->SetAnchors(akBottom);
    done_ = Add<TButton>(this, this, "DoneButton", Bounds(cw - 64, ch - 44, 58, 25), "Done");
    done_->SetAnchors(akRight | akBottom);
    // Esc does what Done does, so that a keyboard user closes the window as a mouse user would.
    done_->Cancel = true;

    memo_ = Add<TMemo>(this, this, "StatusMemo",
                       Bounds(6, done_->Top() - 6 - memoHeight, cw - 12, memoHeight));
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
