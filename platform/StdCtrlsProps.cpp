// What a page may write for panels, buttons, radio buttons, lists, memos and menus: each property
// once, with its typed declared default.
#include "platform/Streaming.h"

#include "platform/StdCtrls.h"

namespace ui {

void RegisterStdCtrlsClasses() {
    using prop::Bool;
    using prop::Int;

    // Panels of every kind share their bevels; each kind exposes what it shows.
    using P = TCustomPanel;
    auto bevel = prop::Enum<TBevelCut>({{"bvNone", TBevelCut::bvNone},
                                        {"bvLowered", TBevelCut::bvLowered},
                                        {"bvRaised", TBevelCut::bvRaised},
                                        {"bvSpace", TBevelCut::bvSpace}});
    RegisterBase<P>("TCustomPanel", "TWinControl")
        .Prop("BevelInner", &P::BevelInner, &P::SetBevelInner, bevel, TBevelCut::bvNone)
        .Prop("BevelOuter", &P::BevelOuter, &P::SetBevelOuter, bevel, TBevelCut::bvRaised)
        .Prop("BevelWidth", &P::BevelWidth, &P::SetBevelWidth, Int<int>(1, 32767), 1);
    RegisterClass<TPanel>("TPanel", "TCustomPanel").ExposeAll();

    using B = TButton;
    RegisterClass<B>("TButton", "TWinControl")
        .ExposeAll()
        .Default("TabStop", true)
        .Field("Default", &B::Default, Bool(), false)
        .Field("Cancel", &B::Cancel, Bool(), false);

    using R = TRadioButton;
    RegisterClass<R>("TRadioButton", "TWinControl")
        .ExposeAll()
        .Prop("Checked", &R::Checked, &R::SetChecked, Bool(), false);

    using CB = TComboBox;
    RegisterClass<CB>("TComboBox", "TWinControl")
        .ExposeAll()
        .Default("TabStop", true)
        .Default("Color", clWindow)
        .Field("Style", &CB::Style,
               prop::Enum<TComboBoxStyle>({{"csDropDown", TComboBoxStyle::csDropDown},
                                           {"csSimple", TComboBoxStyle::csSimple},
                                           {"csDropDownList", TComboBoxStyle::csDropDownList}}),
               TComboBoxStyle::csDropDown)
        .Field("ItemHeight", &CB::ItemHeight, Int<int>(), 16)
        .Prop(
            "Items.Strings", [](const CB& c) { return c.Items.Items(); },
            [](CB& c, std::vector<std::string> items) { c.Items.Assign(items); }, prop::Strings())
        .Event("OnChange", &CB::OnChange);

    using M = TMemo;
    RegisterClass<M>("TMemo", "TWinControl")
        .ExposeAll()
        .Default("TabStop", true)
        .Default("Color", clWindow)
        .Prop(
            "Lines.Strings", [](const M& m) { return m.Lines.Items(); },
            [](M& m, std::vector<std::string> lines) { m.Lines.Assign(lines); }, prop::Strings())
        .Prop("ReadOnly", &M::ReadOnly, &M::SetReadOnly, Bool(), false);

    RegisterClass<TMainMenu>("TMainMenu", "TComponent");
    using I = TMenuItem;
    RegisterClass<I>("TMenuItem", "TComponent")
        .Prop("Caption", &I::Caption, &I::SetCaption, prop::String())
        .Prop("Checked", &I::Checked, &I::SetChecked, Bool(), false)
        .Prop("Enabled", &I::Enabled, &I::SetEnabled, Bool(), true)
        .Prop("Visible", &I::Visible, &I::SetVisible, Bool(), true)
        .Event("OnClick", &I::OnClick);
}

} // namespace ui
