#include "controls/RadioPanel.h"

#include "platform/Streaming.h"

namespace ui {

TRadioPanel::TRadioPanel(TComponent* owner) : TCustomPanel(owner) {
    SetAnchors(akLeft | akTop);
    finalAnchors_ = akLeft | akTop;
    InPopup = false;
    ShowCaption = false;
    RadioEnabled = false;
    SetBevelOuter(TBevelCut::bvNone);
    SetHeight(100);
    SetWidth(194);
    MemoHeight = 58;
    SetVisible(false);
    designHidden_ = false;
}

void TRadioPanel::SetFinalAnchors(TAnchors a) {
    if (InPopup) SetAnchors(a);
    finalAnchors_ = a;
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
    using C = LoadContext;
    using V = page::Value;
    using P = TRadioPanel;
    RegisterClass<P>("TRadioPanel", "TCustomPanel")
        .Prop<P>(
            "RadioEnabled", [](P& p, const V& v, C&) { p.RadioEnabled = C::Bool(v); }, "false")
        .Prop<P>("Lines.Strings", [](P& p, const V& v, C&) { p.SetLines(C::Strings(v)); })
        .Prop<P>(
            "MemoHeight", [](P& p, const V& v, C&) { p.MemoHeight = int(C::Int(v)); }, "58")
        .Prop<P>(
            "FinalAnchors", [](P& p, const V& v, C&) { p.SetFinalAnchors(C::Anchors(v)); },
            "[akleft,aktop]")
        .Prop<P>(
            "Visible", [](P& p, const V& v, C&) { p.SetVisible(C::Bool(v)); }, "false")
        .Prop<P>("OnActivate", [](P& p, const V& v, C& ctx) { p.OnActivate = ctx.Handler(v); })
        .Prop<P>("OnDeactivate", [](P& p, const V& v, C& ctx) { p.OnDeactivate = ctx.Handler(v); })
        .Prop<P>("OnRadioChange",
                 [](P& p, const V& v, C& ctx) { p.OnRadioChange = ctx.Handler(v); });
}

} // namespace ui
