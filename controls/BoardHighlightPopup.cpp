// The highlight circle's tool window (show, reuse or build it, its close handler, Previous, Next
// and Done) and its kind menu (the entry, its check mark and its click).
#include "controls/BoardHighlight.h"

#include "controls/BoardImage.h"
#include "controls/PopupForm.h"

#include <algorithm>

namespace ui {

namespace {

// The window's smallest outer size, and the height of the controls below the panel: memo gap,
// button row and status bar.
constexpr int MinOuterWidth = 194, MinOuterHeight = 122;
constexpr int BelowPanel = 51;
constexpr int NoPanelMemoHeight = 58;
constexpr int NoPanelWidth = 194, NoPanelHeight = 141;

const char* KindStem(THighlightType t) {
    switch (t) {
    case THighlightType::htOptions:
        return "Options";
    case THighlightType::htCalibration:
        return "Calibration";
    case THighlightType::htSettings:
        break;
    }
    return "Settings";
}

} // namespace

const char* TBoardHighlight::KindMenuCaption(THighlightType t) {
    switch (t) {
    case THighlightType::htOptions:
        return "&Options";
    case THighlightType::htCalibration:
        return "&Calibration";
    case THighlightType::htSettings:
        break;
    }
    return "&Settings";
}

// ---------------------------------------------------------------- tool window

void TBoardHighlight::ShowPopup() {
    if (popup_) {
        if (!popup_->Visible()) pinned_ = false;
        popup_->Show(); // shown again where it was, and brought to the front
        return;
    }
    // A twin may have built the group's window already; hidden ones count too.
    const auto ordinal = static_cast<intptr_t>(type_);
    if (Application)
        for (TForm* f : Application->Forms())
            if (f->Caption() == popupCaption_ && f->Tag == ordinal) return;

    auto* w = new TPopupForm(this);
    popup_ = w;
    // At the resolution of the page whose panel it takes in; its own lengths are at 96.
    if (TForm* page = ParentForm()) w->ScaleBy(page->PixelsPerInch, w->PixelsPerInch);
    auto px = [w](int v) { return w->ScalePixels(v); };
    w->Circle = this;
    w->AutoScroll = false;
    w->SetBorderStyle(TFormBorderStyle::bsSizeToolWin);
    w->SetFormStyle(TFormStyle::fsStayOnTop);
    pinned_ = false;

    TRadioPanel* panel = radioPanel_;
    int memoHeight = px(NoPanelMemoHeight);
    int pl = 0, pt = 0;
    if (panel) {
        memoHeight = panel->MemoHeight;
        w->OnActivate = panel->OnActivate;
        w->OnDeactivate = panel->OnDeactivate;
        pl = panel->Left();
        pt = panel->Top();
        panel->SetLeft(0);
        panel->SetTop(0);
        panel->SetVisible(true);
        w->SetClientWidth(panel->Width());
        w->SetClientHeight(panel->Height() + memoHeight + px(BelowPanel));
        panel->SetParent(w);
        panel->SetAnchors(panel->FinalAnchors());
        panel->InPopup = true;
    } else {
        w->SetWidth(px(NoPanelWidth));
        w->SetHeight(px(NoPanelHeight));
    }
    w->SetCaption(popupCaption_);
    int outerW = std::max(px(MinOuterWidth), w->Width());
    int outerH = std::max(px(MinOuterHeight), w->Height());
    w->SetBounds(w->Left(), w->Top(), outerW, outerH);
    w->SetConstraints({outerW, outerH, 0, 0});
    w->Tag = ordinal;
    w->SetPosition(TPosition::poDesigned);

    // The panel's place on the page, moved as far as the board picture has moved since its
    // first paint; the main window's client coordinates serve as screen coordinates.
    int dx = 0, dy = 0;
    if (OnBoardImage()) {
        auto* board = static_cast<TBoardImage*>(parent_);
        dx = board->InitialLeft() - pl;
        dy = board->InitialTop() - pt;
    }
    int parentLeft = parent_ ? parent_->Left() : 0, parentTop = parent_ ? parent_->Top() : 0;
    if (!panel) {
        dx = 0;
        dy = -((parent_ ? parent_->Height() : 0) + px(38));
    }
    w->SetLeft(parentLeft - dx);
    w->SetTop(parentTop - dy);
    w->OnClose = [this](TObject* sender, TCloseAction& action) { PopupClosed(sender, action); };

    w->BuildChildren(memoHeight);
    w->PreviousButton()->OnClick = [this](TObject* s) { PreviousClick(s); };
    w->NextButton()->OnClick = [this](TObject* s) { NextClick(s); };
    w->DoneButton()->OnClick = [this](TObject* s) { DoneClick(s); };
    if (panel) {
        w->StatusMemo()->Lines.Assign(panel->Lines().Items());
        panel->SetPopupMemo(w->StatusMemo());
    }

    // On the screen, with one correction per axis: a window larger than the screen keeps its
    // far edge on it.
    int sw = Screen->Width(), sh = Screen->Height();
    if (w->Left() < 0)
        w->SetLeft(0);
    else if (w->Left() + w->Width() > sw)
        w->SetLeft(sw - w->Width());
    if (w->Top() < 0)
        w->SetTop(0);
    else if (w->Top() + w->Height() > sh)
        w->SetTop(sh - w->Height());

    w->Show();
    if (popup_ != w) return; // a handler of the showing destroyed or replaced it
    w->SetActiveControl(panel ? static_cast<TWinControl*>(panel) : w->DoneButton());
    if (!w->Active()) w->SetFocus();
}

void TBoardHighlight::PopupClosed(TObject*, TCloseAction&) {
    SetMenuCheck(false);
    if (popup_) popup_->CloseOnLeave = false;
    ClearHot();
    if (OnBoardImage()) {
        TWinControl* board = parent_;
        for (int i = 0, n = board->ControlCount(); i < n && i < board->ControlCount(); ++i)
            if (IsTwin(board->Controls(i)))
                static_cast<TBoardHighlight*>(board->Controls(i))->ClearHot();
    }
    // The action stays "hide": the window and the panel in it are kept for the next time.
}

void TBoardHighlight::DoneClick(TObject*) {
    if (popup_) popup_->Close();
}

void TBoardHighlight::PreviousClick(TObject*) {
    Navigate(false);
}

void TBoardHighlight::NextClick(TObject*) {
    Navigate(true);
}

void TBoardHighlight::Navigate(bool forward) {
    if (!boardMenu_) return;
    const std::string caption = KindMenuCaption(type_);
    TMenuItem* root = boardMenu_->Items();
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem* kind = root->Items(i);
        if (kind->Caption() != caption) continue;
        const int count = kind->Count();
        for (int j = 0; j < count; ++j) {
            if (kind->Items(j)->Caption() != title_) continue;
            if (popup_) popup_->Close();
            int t = forward ? (j == count - 1 ? 0 : j + 1) : (j == 0 ? count - 1 : j - 1);
            // The close may have changed the menu; the target is looked up again.
            if (t < kind->Count()) {
                TMenuItem* target = kind->Items(t);
                if (target->OnClick) target->OnClick(this);
            }
            return;
        }
    }
}

// ---------------------------------------------------------------- kind menu

TMenuItem* TBoardHighlight::MakeEntry(TComponent* owner) {
    auto* entry = new TMenuItem(owner);
    entry->SetCaption(title_);
    // A title without a letter gives no stem; the entry is then named after its kind.
    std::string stem = nameStem_.empty() ? std::string(KindStem(type_)) + "Entry" : nameStem_;
    entry->SetName(owner->UniqueName(stem));
    entry->OnClick = [this](TObject* sender) { MenuClick(sender); };
    madeEntry_ = entry;
    FreeNotification(entry);
    return entry;
}

void TBoardHighlight::AddToMenu() {
    if (!boardMenu_) return;
    const std::string caption = KindMenuCaption(type_);
    TMenuItem* root = boardMenu_->Items();
    const int n = root->Count();
    TComponent* owner = boardMenu_->Owner() ? boardMenu_->Owner() : boardMenu_;
    for (int i = 0; i < n; ++i) {
        TMenuItem* kind = root->Items(i);
        if (kind->Caption() != caption) continue;
        for (int j = 0; j < kind->Count(); ++j)
            if (kind->Items(j)->Caption() == title_) return; // a twin made it
        if (title_.empty()) return;
        kind->Add(MakeEntry(owner));
        return;
    }
    auto* kind = new TMenuItem(owner);
    kind->SetCaption(caption);
    kind->SetName(owner->UniqueName(KindStem(type_)));
    // Kind menus stand in the order Settings, Calibration, Options, all before Help.
    std::vector<std::string> after;
    switch (type_) {
    case THighlightType::htSettings:
        after = {"&Calibration", "&Options", "&Help"};
        break;
    case THighlightType::htCalibration:
        after = {"&Options", "&Help"};
        break;
    case THighlightType::htOptions:
        after = {"&Help"};
        break;
    }
    int p = n;
    for (int i = 0; i < n; ++i)
        if (std::find(after.begin(), after.end(), root->Items(i)->Caption()) != after.end()) {
            p = i;
            break;
        }
    root->Insert(p, kind);
    if (!title_.empty()) kind->Add(MakeEntry(owner));
}

TMenuItem* TBoardHighlight::OwnEntry() const {
    if (!boardMenu_) return nullptr;
    const std::string caption = KindMenuCaption(type_);
    TMenuItem* root = boardMenu_->Items();
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem* kind = root->Items(i);
        if (kind->Caption() != caption) continue;
        for (int j = 0; j < kind->Count(); ++j)
            if (kind->Items(j)->Caption() == title_) return kind->Items(j);
    }
    return nullptr;
}

void TBoardHighlight::SetMenuCheck(bool checked) {
    if (TMenuItem* entry = OwnEntry()) entry->SetChecked(checked);
}

void TBoardHighlight::MenuClick(TObject* sender) {
    auto* item = IsExactly<TMenuItem>(sender) ? static_cast<TMenuItem*>(sender) : nullptr;
    if (item && item->Checked()) {
        if (popup_) {
            popup_->Close();
            return;
        }
        if (!OnBoardImage()) return;
        TWinControl* board = parent_;
        for (int i = 0, n = board->ControlCount(); i < n && i < board->ControlCount(); ++i) {
            TControl* c = board->Controls(i);
            if (IsTwin(c) && static_cast<TBoardHighlight*>(c)->popup_)
                static_cast<TBoardHighlight*>(c)->MenuClick(sender);
        }
        return;
    }
    Perform(CM_MOUSEENTER, 0, 0);
    Pin();
    Perform(CM_MOUSELEAVE, 0, 0);
}

void TBoardHighlight::ReleaseMenuEntry() {
    TMenuItem* entry = madeEntry_;
    if (!entry) return;
    madeEntry_ = nullptr;
    RemoveFreeNotification(entry);
    // A twin that stays takes the entry over; otherwise it would call a circle that is gone.
    if (OnBoardImage())
        for (int i = 0; i < parent_->ControlCount(); ++i) {
            TControl* c = parent_->Controls(i);
            if (c == this || !IsTwin(c)) continue;
            auto* twin = static_cast<TBoardHighlight*>(c);
            entry->OnClick = [twin](TObject* sender) { twin->MenuClick(sender); };
            twin->madeEntry_ = entry;
            twin->FreeNotification(entry);
            return;
        }
    delete entry;
}

} // namespace ui
