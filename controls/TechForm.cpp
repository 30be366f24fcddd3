#include "controls/TechForm.h"

#include "controls/MemoWindow.h"

namespace ui {

TTechForm::TTechForm(TComponent* owner) : TForm(owner) {}

TTechForm* TTechForm::Build(TForm* main, const std::string& supportText, TNotifyEvent closeClick) {
    auto* f = new TTechForm(main);
    f->SetName("TechForm");
    f->SetCaption("Technical Support");
    f->SetFormStyle(TFormStyle::fsStayOnTop);
    f->SetPosition(TPosition::poDefaultPosOnly);

    TMemoAndClose parts = AddMemoAndClose(f, "TechMemo", 165, std::move(closeClick));
    f->TechMemo = parts.memo;
    f->CloseButton = parts.close;
    parts.memo->Lines.SetText(supportText);
    // Fitted to the children, which move to the top-left corner; no margin and no scaling by the
    // screen's size here. The button is centred again in the fitted window.
    FitMemoAndClose(f, parts, true);
    return f;
}

} // namespace ui
