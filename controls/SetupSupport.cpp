#include "controls/SetupSupport.h"

#include "controls/BoardImage.h"
#include "platform/Streaming.h"
#include "platform/text/Rtf.h"

#include <cmath>

namespace ui {

namespace {
const char* const CRLF = "\r\n";
} // namespace

// ---------------------------------------------------------------- texts

std::string BuildHelpDocument(const HelpDocumentInput& input) {
    // Names go into the document as text: a brace or backslash in them must not become markup.
    HelpDocumentInput in = input;
    in.companyName = rtf::Escape(input.companyName);
    in.cardName = rtf::Escape(input.cardName);
    std::string d;
    d += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 "
         "Verdana;}}{\\colortbl\\red64\\green64\\blue64;\\red255\\green255\\blue64;\\red64\\green64"
         "\\blue255;\\red255\\green64\\blue64;}\\viewkind4\\uc1\\pard\\f0\\fs32\\cf0";
    d += CRLF;
    d += "{\\b ";
    d += in.companyName;
    d += " ";
    d += in.cardName;
    if (in.series) d += " Series";
    d += " Settings Program}\\par\\par\\fs24";
    d += CRLF;
    d += "This program will help you configure the option jumpers and settings associated with "
         "this product. You should have the product in-hand when first using this "
         "program.\\par\\par";
    d += CRLF;
    d += "{\\cf1\\fs24\\b Yellow circles} provide information on configuring jumpers and "
         "switches.\\par\\par";
    d += CRLF;
    d += "{\\cf2\\fs24\\b Blue circles} are informational only. They provide information on "
         "standard and optional features of the product family.\\par\\par";
    d += CRLF;
    d += "{\\cf3\\fs24\\b Red circles} handle calibration and types of configuration that "
         "require actually controlling the hardware device. Run this settings program again once "
         "the card is installed. ";
    d += "Repeat the {\\cf1 setup circles} (using the same settings) to configure this program, "
         "then perform the {\\cf3 calibration circles}.\\par\\par";
    d += CRLF;
    d += "Mouse over the highlight circles to see configuration or information popups for {\\cf1 "
         "setup}, {\\cf2 features}, and {\\cf3 calibration}. Click a highlight circle to make its "
         "popup remain on-screen. ";
    d += "You can have all or as many of these popups onscreen at the same time as you "
         "desire.\\par\\par";
    d += CRLF;
    if (in.multiPort) {
        d += "{\\fs32\\b Note:} Make sure to set the jumpers for each option group \\emdash  the "
             "configuration options for each port are handled identically; ";
        d += "this program only shows the setup once, but you need to perform this setup for "
             "each group of options on your device.\\par\\par";
        d += CRLF;
    }
    if (in.cardStrings) {
        d += "To see a list of " + in.cardName + " cards installed, click \"Display " +
             in.cardName + " Cards Installed\" under the File menu.\\par\\par";
        d += CRLF;
    }
    d += "}";
    return d;
}

std::string BuildSupportText(const std::string& companyName, const std::string& callHow) {
    return "There are several ways to get technical support. First and fastest is to skim the "
           "relevant sections of the manual. However, some questions require personal "
           "assistance, and " +
           companyName + " stands ready to provide that help. You can call us " + callHow +
           " for any of your product questions." + CRLF + CRLF +
           "In order to provide the best and fastest support possible, we ask that you be at "
           "your computer when you call, and have the " +
           companyName + " product manual and Companion Disc at hand.";
}

double HelpScale(int screenWidth, int screenHeight) {
    double f = std::min(screenHeight / 450.0, screenWidth / 800.0);
    return f >= 1.0 ? f : 1.0; // also catches NaN
}

// ---------------------------------------------------------------- help window

THelpForm::THelpForm(TComponent* owner) : TForm(owner) {}

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

TTechForm::TTechForm(TComponent* owner) : TForm(owner) {}

// ---------------------------------------------------------------- supporter

// The property values start where they are declared.
TSetupSupporter::TSetupSupporter(TComponent* owner) : TComponent(owner) {
    messageWindow_ = std::make_unique<TMessageWindow>([this](TMessage& m) { WndProc(m); });
}

TSetupSupporter::~TSetupSupporter() {
    // Going away: stop the timer for good. Restarting it here (as a pending help window would
    // ask) could only fail or tick into a destroyed component.
    calibrating_ = false;
    messageWindow_->KillTimer(1);
    messageWindow_.reset();
}

void TSetupSupporter::Notification(TComponent* c, bool removing) {
    TComponent::Notification(c, removing);
    if (!removing) return;
    if (c == helpForm_) helpForm_ = nullptr;
    if (c == techForm_) techForm_ = nullptr;
    if (c == pciForm_) pciForm_ = nullptr;
    if (c == headerLabel_) headerLabel_ = nullptr;
}

void TSetupSupporter::SetOnBeginCalib(TNotifyEvent e) {
    onBeginCalib_ = std::move(e);
    UpdateTimer();
}

TForm* TSetupSupporter::MainWindow() const {
    if (Application && Application->MainForm()) return Application->MainForm();
    return dynamic_cast<TForm*>(Owner());
}

void TSetupSupporter::AppIdle(TObject*, bool&) {
    if (Application) Application->OnIdle = nullptr;
    BuildWindows();
}

void TSetupSupporter::BuildWindows() {
    if (IsDesigning()) return;
    TForm* main = MainWindow();
    if (!main) return;
    std::string cardName = UseCardNameB ? CardNameB : CardNameA;

    auto* header = new TLabel(main);
    headerLabel_ = header;
    FreeNotification(header);
    header->SetName("HeaderLabel");
    header->SetAlign(TAlign::alTop);
    header->SetAlignment(TAlignment::taCenter);
    TFont font;
    font.Name = "Tahoma";
    font.SetSize(18);
    font.Style = fsBold;
    font.Color = clBlack;
    header->SetFont(font);
    header->SetParent(main);

    BuildHelpWindow(main, cardName);
    BuildTechWindow(main);

    // The installed-cards window arrives with the driver work; without a per-card text there is
    // nothing to list and the card counts as found.
    bool found = true;
    pciForm_ = nullptr;

    std::string caption;
    if (found)
        caption = cardName + (bSeries ? " Series" : "") + " Settings Program";
    else
        caption = "No " + cardName + (bSeries ? " Series Card" : "") + " Found";
    header->SetCaption(caption);

    firstRun_ = true;
    UpdateTimer();
}

void TSetupSupporter::BuildHelpWindow(TForm* main, const std::string& cardName) {
    auto* f = new THelpForm(main);
    helpForm_ = f;
    FreeNotification(f);
    f->SetName("HelpForm");
    f->SetCaption("Instructions for Settings utility");
    f->SetFormStyle(TFormStyle::fsStayOnTop);
    f->SetPosition(TPosition::poMainFormCenter);

    auto* label = new TLabel(f);
    f->HelpLabel = label;
    label->SetName("HelpLabel");
    label->SetAlign(TAlign::alTop);
    label->SetAlignment(TAlignment::taCenter);
    label->SetCaption("How to use this program");
    TFont lf;
    lf.Name = "Verdana";
    lf.SetSize(12);
    lf.Style = fsBold;
    label->SetFont(lf);
    label->SetParent(f);

    auto* rich = new TRichEdit(f);
    f->HelpRich = rich;
    rich->SetName("HelpRich");
    rich->SetBounds(0, 24, 305, 73);
    rich->SetReadOnly(true);
    rich->SetScrollBars(TScrollStyle::ssVertical);
    rich->SetParent(f);
    rich->SetColor(0xDDDDDD);
    rich->LoadRtf(BuildHelpDocument(
        {CompanyName, cardName, bSeries, MultiPort, static_cast<bool>(OnGetCardString)}));

    auto* start = new TButton(f);
    f->StartButton = start;
    start->SetName("StartButton");
    start->Default = true;
    start->Cancel = true;
    start->SetBounds(start->Left(), 105, 173, 25);
    start->SetCaption("Start");
    start->OnClick = [f](TObject* s) { f->StartButtonClick(s); };
    start->SetParent(f);
    start->SetTabOrder(0);

    f->SetClientWidth(rich->Width());
    f->SetAutoSize(true);
    f->SetAutoSize(false);
    f->SetClientHeight(f->ClientHeight() + 8);
    rich->SetAnchors(akLeft | akTop | akRight | akBottom);
    start->SetLeft((f->ClientWidth() - start->Width()) / 2);
    start->SetAnchors(akBottom);

    double scale = HelpScale(Screen->Width(), Screen->Height());
    f->SetClientWidth(RoundHalfEven(f->ClientWidth() * scale));
    f->SetClientHeight(RoundHalfEven(f->ClientHeight() * scale));
}

void TSetupSupporter::BuildTechWindow(TForm* main) {
    auto* f = new TTechForm(main);
    techForm_ = f;
    FreeNotification(f);
    f->SetName("TechForm");
    f->SetCaption("Technical Support");
    f->SetFormStyle(TFormStyle::fsStayOnTop);
    f->SetPosition(TPosition::poDefaultPosOnly);

    auto* memo = new TMemo(f);
    f->TechMemo = memo;
    memo->SetName("TechMemo");
    memo->SetBounds(8, 8, 305, 89);
    memo->SetReadOnly(true);
    memo->SetScrollBars(TScrollStyle::ssVertical);
    memo->SetParent(f);
    memo->Lines.SetText(BuildSupportText(CompanyName, CallHow));

    auto* close = new TButton(f);
    f->CloseButton = close;
    close->SetName("CloseButton");
    close->SetBounds(165, 105, 73, 25);
    close->Cancel = true;
    close->SetCaption("Close");
    close->OnClick = [this](TObject* s) { CloseButtonClick(s); };
    close->SetParent(f);
    close->SetTabOrder(0);

    f->SetAutoSize(true);
    f->SetAutoSize(false);
    memo->SetAnchors(akLeft | akTop | akRight | akBottom);
    close->SetLeft((f->ClientWidth() - close->Width()) / 2);
    close->SetAnchors(akBottom);
}

void TSetupSupporter::CloseButtonClick(TObject* sender) {
    auto* control = dynamic_cast<TControl*>(sender);
    if (!control) return;
    if (TForm* f = control->ParentForm()) f->Hide();
}

void TSetupSupporter::UpdateTimer() {
    if (!messageWindow_) return;
    messageWindow_->KillTimer(1);
    if (calibrating_ || firstRun_) {
        if (!messageWindow_->SetTimer(1, 100)) throw EOutOfResources("Not enough timers available");
    }
}

void TSetupSupporter::WndProc(TMessage& m) {
    if (m.Msg == WM_TIMER) {
        try {
            TimerTick();
        } catch (const std::exception& e) {
            if (Application) Application->HandleException(this, e);
        }
        m.Result = 0;
        return;
    }
    TMessageWindow::DefWindowProc(m);
}

void TSetupSupporter::TimerTick() {
    if (firstRun_) {
        if (helpForm_) helpForm_->Show();
        firstRun_ = false;
        UpdateTimer();
    }
    // The calibration cycle's steps arrive with the calibration work.
}

void RegisterSetupSupportClasses() {
    using prop::Bool;
    using prop::String;
    using S = TSetupSupporter;
    RegisterClass<S>("TSetupSupporter", "TComponent")
        .Field("CompanyName", &S::CompanyName, String())
        .Field("CardNameA", &S::CardNameA, String())
        .Field("CardNameB", &S::CardNameB, String())
        .Field("UseCardNameB", &S::UseCardNameB, Bool(), false)
        .Field("CallHow", &S::CallHow, String())
        .Field("MultiPort", &S::MultiPort, Bool(), false)
        .Field("Channels", &S::Channels, prop::Int<uint8_t>(), 8)
        // Declared False, so pages record it, yet a new supporter starts with True: a page that
        // leaves it out lets the calibration cycle restore its buttons.
        .Field("ChangeButtons", &S::ChangeButtons, Bool(), false)
        .Field("bSeries", &S::bSeries, Bool(), true)
        .Event("OnBeginCalib", &S::SetOnBeginCalib)
        .Event("OnStopButtonClick", &S::OnStopButtonClick)
        .Event("OnStartButtonClick", &S::OnStartButtonClick);
}

} // namespace ui
