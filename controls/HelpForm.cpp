#include "controls/HelpForm.h"

#include "controls/BoardImage.h"
#include "controls/SetupTexts.h"
#include "platform/ChildControls.h"

namespace ui {

THelpForm::THelpForm(TComponent* owner) : TForm(owner) {}

THelpForm* THelpForm::Build(TForm* main, const std::string& document) {
    auto* f = new THelpForm(main);
    f->SetName("HelpForm");
    f->SetCaption("Instructions for Settings utility");
    f->SetFormStyle(TFormStyle::fsStayOnTop);
    f->SetPosition(TPosition::poMainFormCenter);

    auto* label = Add<TLabel>(f, f, "HelpLabel", std::nullopt, "How to use this program");
    f->HelpLabel = label;
    label->SetAlign(TAlign::alTop);
    label->SetAlignment(TAlignment::taCenter);
    TFont font;
    font.Name = "Verdana";
    font.SetSize(12);
    font.Style = fsBold;
    label->SetFont(font); // its height follows the font

    auto* rich = Add<TRichEdit>(f, f, "HelpRich", Bounds(0, 24, 305, 73));
    f->HelpRich = rich;
    rich->SetReadOnly(true);
    rich->SetScrollBars(TScrollStyle::ssVertical);
    rich->SetColor(0xDDDDDD);
    rich->LoadRtf(document);

    // Left stays 0 until the window has its width.
    auto* start = Add<TButton>(f, f, "StartButton", Bounds(0, 105, 173, 25), "Start");
    f->StartButton = start;
    start->Default = true;
    start->Cancel = true;
    start->SetTabOrder(0);
    start->OnClick = [f](TObject* s) { f->StartButtonClick(s); };

    // Fitted to the children (which already start at the top-left corner), plus a margin below
    // the button; then the text box follows every edge and the button stays centred.
    f->SetClientWidth(rich->Width());
    f->SetAutoSize(true);
    f->SetAutoSize(false);
    f->SetClientHeight(f->ClientHeight() + 8);
    rich->SetAnchors(akLeft | akTop | akRight | akBottom);
    start->SetLeft((f->ClientWidth() - start->Width()) / 2);
    start->SetAnchors(akBottom);

    // Laid out at 96 pixels per inch: scaled to the screen's resolution, then grown with the
    // screen's size as measured in the same 96-per-inch pixels, so that it takes the same share
    // of the screen at any resolution.
    f->ScaleToScreen();
    const int ppi = f->PixelsPerInch;
    double scale = HelpScale(MulDiv(Screen->Width(), 96, ppi), MulDiv(Screen->Height(), 96, ppi));
    f->SetClientWidth(RoundHalfEven(f->ClientWidth() * scale));
    f->SetClientHeight(RoundHalfEven(f->ClientHeight() * scale));
    return f;
}

void THelpForm::StartButtonClick(TObject*) {
    Hide();
    TForm* main = Application ? Application->MainForm() : nullptr;
    if (!main) return;
    for (int i = 0, n = main->ControlCount(); i < n; ++i) {
        if (dynamic_cast<TBoardImage*>(main->Controls(i))) {
            main->Controls(i)->Perform(WM_STARTTOUR, 0, 0);
            return;
        }
    }
}

} // namespace ui
