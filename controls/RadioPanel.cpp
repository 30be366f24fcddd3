#include "controls/RadioPanel.h"

#include "platform/Streaming.h"

namespace ui {

// The anchors already are left and top, and the members start at their values where they are
// declared; what remains are the steps that change something.
TRadioPanel::TRadioPanel(TComponent* owner) : TCustomPanel(owner) {
    ShowCaption = false;
    SetBevelOuter(TBevelCut::bvNone);
    SetHeight(100);
    SetWidth(194);
    SetVisible(false);
}

void TRadioPanel::SetFinalAnchors(TAnchors a) {
    if (InPopup) SetAnchors(a);
    finalAnchors_ = a;
}

void TRadioPanel::SetPopupMemo(TMemo* memo) {
    if (memo == popupMemo_) return;
    if (popupMemo_) RemoveFreeNotification(popupMemo_);
    popupMemo_.set(memo);
    if (memo) FreeNotification(memo);
}

void TRadioPanel::Notification(TComponent* component, bool removing) {
    TCustomPanel::Notification(component, removing);
    if (removing) popupMemo_.clearIf(component);
}

std::string TRadioPanel::AccessibleName() const {
    TForm* f = ParentForm();
    return f && !f->Caption().empty() ? f->Caption() + " settings" : "Settings";
}

void TRadioPanel::ChangeScale(int m, int d) {
    if (m != d && d != 0) MemoHeight = MulDiv(MemoHeight, m, d);
    TCustomPanel::ChangeScale(m, d);
}

void TRadioPanel::Paint(TCanvas& canvas) {
    // In a designer the first paint hides the panel, so that a page never shows one by itself.
    if (IsDesigning() && !designHidden_) {
        SetVisible(false);
        designHidden_ = true;
    }
    TCustomPanel::Paint(canvas);
}

void RegisterRadioPanelClass() {
    using prop::Bool;
    using P = TRadioPanel;
    RegisterClass<P>("TRadioPanel", "TCustomPanel")
        .Field("RadioEnabled", &P::RadioEnabled, Bool(), false)
        .Prop(
            "Lines.Strings", [](const P& p) { return p.Lines().Items(); },
            [](P& p, const std::vector<std::string>& lines) { p.SetLines(lines); }, prop::Strings())
        .Field("MemoHeight", &P::MemoHeight, prop::Int<int>(), 58)
        .Expose({"Align"})
        .Prop("FinalAnchors", &P::FinalAnchors, &P::SetFinalAnchors, prop::Anchors(),
              akLeft | akTop)
        // Its anchors come from the constructor and FinalAnchors, and it never shows a caption
        // or a font of its own: Anchors, Caption and Font are not for pages to set.
        .Expose({"BevelInner",  "BevelOuter", "BevelWidth",     "Color",    "Enabled",
                 "ParentColor", "ParentFont", "ParentShowHint", "ShowHint", "TabOrder",
                 "TabStop",     "Visible",    "Left",           "Top",      "Width",
                 "Height",      "Cursor",     "Hint",           "OnClick",  "OnDblClick"})
        // Hidden on the page until a circle's tool window takes it in.
        .Default("Visible", false)
        .Event("OnRadioChange", &P::OnRadioChange)
        .Event("OnActivate", &P::OnActivate)
        .Event("OnDeactivate", &P::OnDeactivate);
}

} // namespace ui
