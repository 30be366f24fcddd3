// The highlight circle: its kinds, glow images, mouse behaviour, pinning, the active state, the
// twin walks and the property setters. The tool window and the menus are in
// BoardHighlightPopup.cpp.
#include "controls/BoardHighlight.h"

#include "controls/BoardImage.h"
#include "controls/PopupForm.h"
#include "controls/glow/Glow.h"
#include "platform/Streaming.h"

#include <cctype>

namespace ui {

namespace {

struct Kind {
    uint32_t color;
    float rest, lit, bright;
};

Kind KindOf(THighlightType t) {
    switch (t) {
    case THighlightType::htOptions:
        return {0xFF0000, 0.25f, 0.5f, 1.0f};
    case THighlightType::htSettings:
        return {0x00FFFF, 0.5f, 0.75f, 1.0f};
    case THighlightType::htCalibration:
        return {0x0000FF, 0.5f, 0.75f, 1.0f};
    }
    return {0x00FFFF, 0.5f, 0.75f, 1.0f};
}

bool IdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

} // namespace

std::string StripAmpersands(std::string text) {
    for (size_t pos; (pos = text.find('&')) != std::string::npos;)
        text.erase(pos, 1);
    return text;
}

std::string MakeIdentifier(std::string text) {
    auto valid = [](const std::string& s) {
        if (s.empty() || !IdentStart(s[0])) return false;
        for (char c : s)
            if (!IdentChar(c)) return false;
        return true;
    };
    if (text.empty() || valid(text)) return text;
    size_t first = 0;
    while (first < text.size() && !IdentStart(text[first]))
        ++first;
    text.erase(0, first);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (i == 0 || IdentChar(text[i])) out += text[i];
    return out;
}

TBoardHighlight::TBoardHighlight(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 65);
    ControlStyle |= csReplicatable;
    // The type starts as htOptions, so the settings row is always applied.
    SetHighlightType(THighlightType::htSettings);
}

TBoardHighlight::~TBoardHighlight() {
    BeginDestroy();
    // The window goes first, while the circle it reports to is still whole.
    if (popup_) {
        TPopupForm* w = popup_;
        popup_ = nullptr;
        w->Circle = nullptr;
        delete w;
    }
    ReleaseMenuEntry();
}

void TBoardHighlight::Notification(TComponent* component, bool removing) {
    TGraphicControl::Notification(component, removing);
    if (!removing) return;
    if (component == radioPanel_) radioPanel_ = nullptr;
    if (component == popup_) popup_ = nullptr;
    if (component == boardMenu_) boardMenu_ = nullptr;
    if (component == madeEntry_) madeEntry_ = nullptr;
}

void TBoardHighlight::SetHighlightType(THighlightType t) {
    if (t == type_) return;
    type_ = t;
    Kind k = KindOf(t);
    glowColor_ = k.color;
    restStrength_ = k.rest;
    brightStrength_ = k.bright;
    litStrength_ = k.lit;
    Invalidate();
}

void TBoardHighlight::SetTitle(const std::string& title) {
    if (title == title_) return;
    title_ = title;
    popupCaption_ = StripAmpersands(title);
    nameStem_ = MakeIdentifier(title);
}

void TBoardHighlight::SetRadioPanel(TRadioPanel* panel) {
    if (panel == radioPanel_) return;
    if (!panel) {
        radioPanel_ = nullptr;
        return;
    }
    if (parent_) {
        for (int i = 0, n = parent_->ControlCount(); i < n; ++i) {
            auto* other = dynamic_cast<TBoardHighlight*>(parent_->Controls(i));
            if (!other || other == this || !IsExactly<TBoardHighlight>(other)) continue;
            if (other->radioPanel_ != panel) continue;
            if (other->title_ == title_ && other->type_ == type_) continue;
            if (parent_->IsDesigning() && Application)
                Application->MessageBox(panel->Name() + " has already been assigned to " +
                                            other->Name() + ".",
                                        "Error", MB_OK | MB_ICONERROR);
            return;
        }
    }
    radioPanel_ = panel;
    FreeNotification(panel);
    if (IsDesigning() && !IsLoading() && parent_ && Application) {
        for (int i = 0, n = parent_->ControlCount(); i < n && i < parent_->ControlCount(); ++i) {
            TControl* c = parent_->Controls(i);
            if (c == this || !IsTwin(c)) continue;
            auto* twin = static_cast<TBoardHighlight*>(c);
            if (twin->radioPanel_ == panel) continue;
            int answer = Application->MessageBox(
                Name() + "'s RadioPanel property changed. Synchronize linked component " +
                    twin->Name() + "?",
                "Confirm", MB_YESNO | MB_ICONQUESTION);
            if (answer == IDYES) {
                twin->radioPanel_ = panel;
                twin->FreeNotification(panel);
            }
        }
    }
}

bool TBoardHighlight::OnBoardImage() const {
    return IsExactly<TBoardImage>(parent_);
}

bool TBoardHighlight::IsTwin(const TControl* other) const {
    if (!other || !OnBoardImage() || other->Parent() != parent_) return false;
    if (!IsExactly<TBoardHighlight>(other) || !IsExactly<TBoardHighlight>(this)) return false;
    auto* o = static_cast<const TBoardHighlight*>(other);
    return o->title_ == title_ && o->type_ == type_;
}

void TBoardHighlight::NotifyTwins(unsigned msg) {
    if (!OnBoardImage()) return;
    TWinControl* board = parent_;
    for (int i = 0, n = board->ControlCount(); i < n; ++i) {
        // Handlers may reorder or shrink the list; the walk keeps to what is there.
        if (i >= board->ControlCount()) break;
        TControl* c = board->Controls(i);
        if (IsTwin(c)) c->Perform(msg, 1, 0);
    }
}

const TBitmap& TBoardHighlight::ForState(const TBitmap& rest, const TBitmap& lit,
                                         const TBitmap& bright) const {
    if (popupActive_ && hot_) return bright;
    if (popupActive_ || hot_) return lit;
    return rest;
}

const TBitmap& TBoardHighlight::CurrentImage() const {
    return ForState(restImage_, litImage_, brightImage_);
}

void TBoardHighlight::BuildImages(TCanvas& canvas) {
    const int w = Width(), h = Height();
    // What the parent has just painted beneath the circle, normally the photograph.
    background_.SetSize(w, h);
    if (background_.Width() > 0)
        background_.Canvas().CopyRect(Bounds(0, 0, w, h), canvas, Bounds(0, 0, w, h));
    GlowImages(1, restImage_, brightImage_, litImage_);
    fineScale_ = 0;
}

void TBoardHighlight::BuildFineImages(int scale) {
    GlowImages(scale, fineRest_, fineBright_, fineLit_);
    fineScale_ = scale;
}

void TBoardHighlight::GlowImages(int scale, TBitmap& rest, TBitmap& bright, TBitmap& lit) {
    const int w = background_.Width(), h = background_.Height();
    const int iw = w * scale, ih = h * scale;
    struct Step {
        TBitmap& image;
        bool whiteCore;
        float strength;
    };
    for (Step s : {Step{rest, false, restStrength_}, Step{bright, true, brightStrength_},
                   Step{lit, false, litStrength_}}) {
        s.image.SetSize(iw, ih);
        if (s.image.Width() == 0) continue;
        // The background as the screen shows it (enlarged pixel for pixel above scale 1), with
        // the ring drawn at the image's own size.
        s.image.Canvas().CopyRect(Bounds(0, 0, iw, ih), background_.Canvas(), Bounds(0, 0, w, h));
        glow::RenderGlow(s.image.ScanLine(0), s.image.StrideBytes(), iw - 1, ih - 1, s.whiteCore,
                         glowColor_, s.strength);
    }
}

void TBoardHighlight::FirstPaintSetup(TCanvas& canvas) {
    BuildImages(canvas);
    if (OnBoardImage()) {
        boardMenu_ = static_cast<TBoardImage*>(parent_)->Menu();
        if (boardMenu_) FreeNotification(boardMenu_);
        AddToMenu();
    } else {
        boardMenu_ = nullptr;
    }
}

void TBoardHighlight::Paint(TCanvas& canvas) {
    if (IsDesigning()) {
        BuildImages(canvas);
    } else if (!imagesBuilt_) {
        FirstPaintSetup(canvas);
        imagesBuilt_ = true;
    } else if (restImage_.Width() != Width() || restImage_.Height() != Height()) {
        // Resized since the images were made: a glow of the old size would be cut off or leave
        // a gap, so it is made anew from what lies beneath now.
        BuildImages(canvas);
    }
    auto& image = const_cast<TBitmap&>(CurrentImage());
    if (image.Width() == 0) return;
    canvas.CopyRect(Bounds(0, 0, Width(), Height()), image.Canvas(),
                    Bounds(0, 0, Width(), Height()));
    if (const int scale = canvas.DeviceScale(); scale > 1) {
        if (fineScale_ != scale) BuildFineImages(scale);
        auto& fine = const_cast<TBitmap&>(ForState(fineRest_, fineLit_, fineBright_));
        canvas.DrawDevicePicture(Bounds(0, 0, image.Width(), image.Height()), fine);
    }
}

void TBoardHighlight::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_MOUSEENTER:
        MouseEnter(m.WParam);
        return;
    case CM_MOUSELEAVE:
        MouseLeave(m.WParam);
        return;
    default:
        TGraphicControl::WndProc(m);
    }
}

void TBoardHighlight::MouseEnter(WPARAM marker) {
    if (hot_) return;
    hot_ = true;
    Invalidate();
    AccessibleChanged();
    if (CreatePopup) ShowPopup();
    if (marker == 1) return;
    NotifyTwins(CM_MOUSEENTER);
}

bool TBoardHighlight::GroupWindowShown() const {
    if (popup_ && popup_->Visible()) return true;
    if (!OnBoardImage()) return false;
    for (int i = 0, n = parent_->ControlCount(); i < n; ++i) {
        TControl* c = parent_->Controls(i);
        if (IsTwin(c)) {
            auto* twin = static_cast<const TBoardHighlight*>(c);
            if (twin->popup_ && twin->popup_->Visible()) return true;
        }
    }
    return false;
}

void TBoardHighlight::MouseLeave(WPARAM marker) {
    if (!hot_) return;
    if (popup_ && !pinned_) {
        if (InsideOuterRect(*popup_, Screen->CursorPos())) {
            // From the circle into its window: it stays while the pointer is in it.
            popup_->CloseOnLeave = true;
            Pin();
        } else {
            popup_->Close();
        }
    }
    // A circle without a window of its own lights only while the pointer is over it, unless
    // a twin's window holds the group lit.
    if (!CreatePopup && hot_ && !GroupWindowShown()) ClearHot();
    if (marker == 1) return;
    NotifyTwins(CM_MOUSELEAVE);
}

void TBoardHighlight::Click() {
    TGraphicControl::Click();
    // A click on a circle whose window has been closed while the pointer stayed on it opens
    // the window again first: pinning a hidden window would check its entry with nothing shown.
    if (!hot_) MouseEnter(0);
    Pin();
}

void TBoardHighlight::Pin() {
    if (popup_) {
        pinned_ = true;
        SetMenuCheck(true);
    }
    if (!OnBoardImage()) return;
    TWinControl* board = parent_;
    for (int i = 0, n = board->ControlCount(); i < n && i < board->ControlCount(); ++i) {
        TControl* c = board->Controls(i);
        if (IsTwin(c)) static_cast<TBoardHighlight*>(c)->PinOwnPopup();
    }
}

void TBoardHighlight::PinOwnPopup() {
    if (!popup_) return;
    pinned_ = true;
    SetMenuCheck(true);
    AccessibleChanged();
    popup_->SetFocus();
}

void TBoardHighlight::SetPopupActive(bool active, bool propagate) {
    popupActive_ = active;
    BringToFront();
    Invalidate();
    if (!propagate || !OnBoardImage()) return;
    TWinControl* board = parent_;
    // Each twin moves to the end of the list, so the next child slides into place i.
    int i = 0, n = board->ControlCount();
    while (i < n && i < board->ControlCount()) {
        TControl* c = board->Controls(i);
        if (c != this && IsTwin(c)) {
            static_cast<TBoardHighlight*>(c)->SetPopupActive(active, false);
            --n;
        } else {
            ++i;
        }
    }
}

void TBoardHighlight::ClearHot() {
    hot_ = false;
    Invalidate();
    AccessibleChanged();
}

TPopupForm* TBoardHighlight::GroupWindow() const {
    if (popup_) return popup_;
    if (!OnBoardImage()) return nullptr;
    for (int i = 0; i < parent_->ControlCount(); ++i)
        if (TControl* c = parent_->Controls(i); IsTwin(c))
            if (TPopupForm* w = static_cast<const TBoardHighlight*>(c)->popup_) return w;
    return nullptr;
}

std::string TBoardHighlight::AccessibleDescription() const {
    switch (type_) {
    case THighlightType::htOptions:
        return "Information circle";
    case THighlightType::htCalibration:
        return "Calibration circle";
    case THighlightType::htSettings:
        break;
    }
    return "Setup circle";
}

TAccessibleStates TBoardHighlight::AccessibleStates() const {
    TAccessibleStates s;
    s.checkable = s.expandable = true;
    TPopupForm* w = GroupWindow();
    s.expanded = w && w->Visible();
    s.checked = s.expanded && w->Circle && w->Circle->Pinned();
    return s;
}

bool TBoardHighlight::AccessiblePress() {
    Click();
    return true;
}

void RegisterBoardHighlightClass() {
    using H = TBoardHighlight;
    RegisterClass<H>("TBoardHighlight", "TControl")
        .Field("CreatePopup", &H::CreatePopup, prop::Bool(), true)
        .Prop("HighlightType", &H::HighlightType, &H::SetHighlightType,
              prop::Enum<THighlightType>({{"htOptions", THighlightType::htOptions},
                                          {"htSettings", THighlightType::htSettings},
                                          {"htCalibration", THighlightType::htCalibration}}),
              THighlightType::htSettings)
        .Ref<TRadioPanel>("RadioPanel", &H::SetRadioPanel)
        .Prop("Title", &H::Title, &H::SetTitle, prop::String(), std::string())
        // A ring in its kind's colour: no caption, colour or font to set.
        .Expose({"Align", "Anchors", "Enabled", "ParentShowHint", "ShowHint", "Visible", "Left",
                 "Top", "Width", "Height", "Cursor", "Hint", "OnClick"});
}

} // namespace ui
