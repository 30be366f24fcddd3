// What a page may write for components, controls and labels: each property once, with its typed
// declared default. TControl and TWinControl only offer theirs; a class exposes what it shows.
#include "platform/Streaming.h"

namespace ui {

void RegisterControlsClasses() {
    using prop::Bool;
    using prop::Int;
    using prop::String;

    // Every component has a Tag; pages never create a bare component.
    ClassBuilder<TComponent>(ClassRegistry::Get().Register("TComponent", "", nullptr))
        .Field("Tag", &TComponent::Tag, Int<intptr_t>(), 0);

    using C = TControl;
    auto fontProp = [](auto member) {
        return [member](C& c, auto v) { c.FontForChange().*member = std::move(v); };
    };
    RegisterBase<C>("TControl", "TComponent")
        .Prop("Left", &C::Left, &C::SetLeft, Int<int>())
        .Prop("Top", &C::Top, &C::SetTop, Int<int>())
        .Prop("Width", &C::Width, &C::SetWidth, Int<int>())
        .Prop("Height", &C::Height, &C::SetHeight, Int<int>())
        .Prop("Visible", &C::Visible, &C::SetVisible, Bool(), true)
        .Prop("Enabled", &C::Enabled, &C::SetEnabled, Bool(), true)
        .Prop("Align", &C::Align, &C::SetAlign,
              prop::Enum<TAlign>({{"alNone", TAlign::alNone},
                                  {"alTop", TAlign::alTop},
                                  {"alBottom", TAlign::alBottom},
                                  {"alLeft", TAlign::alLeft},
                                  {"alRight", TAlign::alRight},
                                  {"alClient", TAlign::alClient}}),
              TAlign::alNone)
        .Prop("Anchors", &C::Anchors, &C::SetAnchors, prop::Anchors(), akLeft | akTop)
        .Prop("AutoSize", &C::AutoSize, &C::SetAutoSize, Bool(), false)
        .Prop("Caption", &C::Caption, &C::SetCaption, String())
        .Prop("Color", &C::Color, &C::SetColor, prop::Color(), clBtnFace)
        .Prop("ParentColor", &C::ParentColor, &C::SetParentColor, Bool(), false)
        .Prop("ParentFont", &C::ParentFont, &C::SetParentFont, Bool(), true)
        // The font is written whenever the control has its own; each part switches ParentFont off.
        .Prop(
            "Font.Name", [](const C& c) { return c.Font().Name; }, fontProp(&TFont::Name), String())
        .Prop(
            "Font.Height", [](const C& c) { return c.Font().Height; }, fontProp(&TFont::Height),
            Int<int>())
        .Prop(
            "Font.Color", [](const C& c) { return c.Font().Color; }, fontProp(&TFont::Color),
            prop::Color())
        .Prop(
            "Font.Charset", [](const C& c) { return c.Font().Charset; }, fontProp(&TFont::Charset),
            prop::IntOrName<int>({{"ANSI_CHARSET", 0},
                                  {"DEFAULT_CHARSET", 1},
                                  {"SYMBOL_CHARSET", 2},
                                  {"OEM_CHARSET", 255}}))
        .Prop(
            "Font.Style", [](const C& c) { return c.Font().Style; }, fontProp(&TFont::Style),
            prop::FontStyles())
        .Prop("Hint", &C::Hint, &C::SetHint, String())
        .Field("ShowHint", &C::ShowHint, Bool())
        .Field("ParentShowHint", &C::ParentShowHint, Bool(), true)
        .Field("Cursor", &C::Cursor,
               prop::IntOrName<int>({{"crDefault", 0},
                                     {"crNone", -1},
                                     {"crArrow", -2},
                                     {"crCross", -3},
                                     {"crIBeam", -4},
                                     {"crHandPoint", -21}}),
               0)
        .Event("OnClick", &C::OnClick)
        .Event("OnDblClick", &C::OnDblClick);

    using W = TWinControl;
    RegisterBase<W>("TWinControl", "TControl")
        .Prop("TabOrder", &W::TabOrder, &W::SetTabOrder, Int<int>(-1, 32767), -1)
        .Field("TabStop", &W::TabStop, Bool(), false);

    using L = TLabel;
    RegisterClass<L>("TLabel", "TControl")
        .ExposeAll()
        // A label sizes itself to its text and shows its parent's colour.
        .Default("AutoSize", true)
        .Default("ParentColor", true)
        .Prop("Alignment", &L::Alignment, &L::SetAlignment,
              prop::Enum<TAlignment>({{"taLeftJustify", TAlignment::taLeftJustify},
                                      {"taRightJustify", TAlignment::taRightJustify},
                                      {"taCenter", TAlignment::taCenter}}),
              TAlignment::taLeftJustify)
        .Prop("Layout", &L::Layout, &L::SetLayout,
              prop::Enum<TTextLayout>({{"tlTop", TTextLayout::tlTop},
                                       {"tlCenter", TTextLayout::tlCenter},
                                       {"tlBottom", TTextLayout::tlBottom}}),
              TTextLayout::tlTop)
        .Prop("WordWrap", &L::WordWrap, &L::SetWordWrap, Bool(), false)
        .Prop("Transparent", &L::Transparent, &L::SetTransparent, Bool(), false);
}

} // namespace ui
