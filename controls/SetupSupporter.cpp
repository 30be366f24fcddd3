#include "controls/SetupSupporter.h"

#include "controls/HelpForm.h"
#include "controls/SetupTexts.h"
#include "controls/TechForm.h"
#include "platform/ChildControls.h"
#include "platform/Streaming.h"

namespace ui {

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

    auto* header = Add<TLabel>(main, main, "HeaderLabel");
    headerLabel_ = header;
    FreeNotification(header);
    header->SetAlign(TAlign::alTop);
    header->SetAlignment(TAlignment::taCenter);
    TFont font;
    font.Name = "Tahoma";
    font.SetSize(18);
    font.Style = fsBold;
    font.Color = clBlack;
    header->SetFont(font);

    helpForm_ = THelpForm::Build(main, BuildHelpDocument({CompanyName, cardName, bSeries, MultiPort,
                                                          static_cast<bool>(OnGetCardString)}));
    FreeNotification(helpForm_);
    techForm_ = TTechForm::Build(main, BuildSupportText(CompanyName, CallHow),
                                 [this](TObject* s) { CloseButtonClick(s); });
    FreeNotification(techForm_);

    // The installed-cards window, and with it a header saying no card was found, arrive with the
    // driver work; without it every page counts as found.
    pciForm_ = nullptr;
    header->SetCaption(cardName + (bSeries ? " Series" : "") + " Settings Program");

    firstRun_ = true;
    UpdateTimer();
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

void RegisterSetupSupporterClass() {
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
