#include "controls/TechForm.h"

#include "platform/ChildControls.h"

namespace ui {

TTechForm::TTechForm(TComponent* owner) : TForm(owner) {}

TTechForm* TTechForm::Build(TForm* main, const std::string& supportText, TNotifyEvent closeClick) {
    auto* f = new TTechForm(main);
    f->SetName("TechForm");
    f->SetCaption("Technical Support");
    f->SetFormStyle(TFormStyle::fsStayOnTop);
    f->SetPosition(TPosition::poDefaultPosOnly);

    auto* memo = Add<TMemo>(f, f, "TechMemo", Bounds(8, 8, 305, 89));
    f->TechMemo = memo;
    memo->SetReadOnly(true);
    memo->SetScrollBars(TScrollStyle::ssVertical);
    memo->Lines.SetText(supportText);

    auto* close = Add<TButton>(f, f, "CloseButton", Bounds(165, 105, 73, 25), "Close");
    f->CloseButton = close;
    close->Cancel = true;
    close->SetTabOrder(0);
    close->OnClick = std::move(closeClick);

    // Fitted to the children, which move to the top-left corner; no margin and no scaling here.
    f->SetAutoSize(true);
    f->SetAutoSize(false);
    memo->SetAnchors(akLeft | akTop | akRight | akBottom);
    close->SetLeft((f->ClientWidth() - close->Width()) / 2);
    close->SetAnchors(akBottom);
    // Laid out at 96 pixels per inch.
    f->ScaleToScreen();
    return f;
}

} // namespace ui
