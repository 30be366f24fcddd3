#include "controls/PCIForm.h"

#include "platform/ChildControls.h"

namespace ui {

TPCIForm::TPCIForm(TComponent* owner) : TForm(owner) {}

TPCIForm* TPCIForm::Build(TForm* main, const std::string& cardName, TNotifyEvent closeClick) {
    auto* f = new TPCIForm(main);
    f->SetName("PCIForm");
    f->SetCaption(cardName + " Cards installed");
    f->SetFormStyle(TFormStyle::fsStayOnTop);
    f->SetPosition(TPosition::poDefaultPosOnly);
    f->Show();

    auto* memo = Add<TMemo>(f, f, "PCIMemo", Bounds(8, 8, 305, 89));
    f->PCIMemo = memo;
    TFont font;
    font.Name = "Tahoma";
    font.SetSize(10);
    font.Style = fsBold;
    memo->SetFont(font);
    memo->SetReadOnly(true);
    memo->SetScrollBars(TScrollStyle::ssVertical);

    // Centred on the new window's outer width; fitting the window moves it, and it stays there.
    auto* close =
        Add<TButton>(f, f, "CloseButton", Bounds((f->Width() - 73) / 2, 105, 73, 25), "Close");
    f->CloseButton = close;
    close->Cancel = true;
    close->SetTabOrder(0);
    close->OnClick = std::move(closeClick);

    f->SetAutoSize(true);
    f->SetAutoSize(false);
    memo->SetAnchors(akLeft | akTop | akRight | akBottom);
    close->SetAnchors(akBottom);
    // Laid out at 96 pixels per inch.
    f->ScaleToScreen();
    return f;
}

} // namespace ui
