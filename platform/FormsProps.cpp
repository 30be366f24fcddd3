// What a page may write for a form: each property once, with its typed declared default.
#include "platform/Streaming.h"

#include "platform/StdCtrls.h"

namespace ui {

void RegisterFormsClasses() {
    using prop::Bool;
    using prop::Int;
    using F = TForm;
    RegisterClass<F>("TForm", "TWinControl")
        .ExposeAll()
        // A form starts hidden with a font of its own, and sizes itself only when asked.
        .Default("Visible", false)
        .Default("ParentFont", false)
        .Prop("ClientWidth", &F::ClientWidth, &F::SetClientWidth, Int<int>())
        .Prop("ClientHeight", &F::ClientHeight, &F::SetClientHeight, Int<int>())
        .Prop("BorderStyle", &F::BorderStyle, &F::SetBorderStyle,
              prop::Enum<TFormBorderStyle>({{"bsNone", TFormBorderStyle::bsNone},
                                            {"bsSingle", TFormBorderStyle::bsSingle},
                                            {"bsSizeable", TFormBorderStyle::bsSizeable},
                                            {"bsDialog", TFormBorderStyle::bsDialog},
                                            {"bsToolWindow", TFormBorderStyle::bsToolWindow},
                                            {"bsSizeToolWin", TFormBorderStyle::bsSizeToolWin}}),
              TFormBorderStyle::bsSizeable)
        .Prop("FormStyle", &F::FormStyle, &F::SetFormStyle,
              prop::Enum<TFormStyle>(
                  {{"fsNormal", TFormStyle::fsNormal}, {"fsStayOnTop", TFormStyle::fsStayOnTop}}),
              TFormStyle::fsNormal)
        .Prop("Position", &F::Position, &F::SetPosition,
              prop::Enum<TPosition>({{"poDesigned", TPosition::poDesigned},
                                     {"poDefault", TPosition::poDefault},
                                     {"poDefaultPosOnly", TPosition::poDefaultPosOnly},
                                     {"poDefaultSizeOnly", TPosition::poDefaultSizeOnly},
                                     {"poScreenCenter", TPosition::poScreenCenter},
                                     {"poDesktopCenter", TPosition::poDesktopCenter},
                                     {"poMainFormCenter", TPosition::poMainFormCenter},
                                     {"poOwnerFormCenter", TPosition::poOwnerFormCenter}}),
              TPosition::poDesigned)
        .Prop("WindowState", &F::WindowState, &F::SetWindowState,
              prop::Enum<TWindowState>({{"wsNormal", TWindowState::wsNormal},
                                        {"wsMinimized", TWindowState::wsMinimized},
                                        {"wsMaximized", TWindowState::wsMaximized}}),
              TWindowState::wsNormal)
        .Field("AutoScroll", &F::AutoScroll, Bool(), false)
        .Field("PixelsPerInch", &F::PixelsPerInch, Int<int>())
        .Field("TextHeight", &F::TextHeight, Int<int>())
        .Ref<TMainMenu>("Menu", &F::SetMenu)
        .Event("OnCreate", &F::OnCreate)
        .Event("OnActivate", &F::OnActivate)
        .Event("OnDeactivate", &F::OnDeactivate)
        .Event("OnShow", &F::OnShow);
}

} // namespace ui
