#include "controls/PCIForm.h"

#include "controls/MemoWindow.h"

namespace ui {

TPCIForm::TPCIForm(TComponent* owner) : TForm(owner) {}

TPCIForm* TPCIForm::Build(TForm* main, const std::string& cardName, TNotifyEvent closeClick) {
    auto* f = new TPCIForm(main);
    f->SetName("PCIForm");
    f->SetCaption(cardName + " Cards installed");
    f->SetFormStyle(TFormStyle::fsStayOnTop);
    f->SetPosition(TPosition::poDefaultPosOnly);
    f->Show();

    // The button is centred on the new window's outer width; fitting the window moves it, and
    // it stays there.
    TMemoAndClose parts =
        AddMemoAndClose(f, "PCIMemo", (f->Width() - 73) / 2, std::move(closeClick));
    f->PCIMemo = parts.memo;
    f->CloseButton = parts.close;
    TFont font;
    font.Name = "Tahoma";
    font.SetSize(10);
    font.Style = fsBold;
    parts.memo->SetFont(font);
    FitMemoAndClose(f, parts, false);
    return f;
}

} // namespace ui
