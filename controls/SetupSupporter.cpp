// The setup-support component: construction, the build at the first idle moment (header line,
// help, support and installed-cards windows), the timer, and the calibration cycle it drives.
#include "controls/SetupSupporter.h"

#include "controls/HelpForm.h"
#include "controls/PCIForm.h"
#include "controls/SetupTexts.h"
#include "controls/TechForm.h"
#include "driver/LLPXLDRV.h"
#include "platform/ChildControls.h"
#include "platform/Streaming.h"

#include <algorithm>

namespace ui {

int32_t DriverCardCount() {
    llpxldrv::BindDriverLibrary();
    // The count is asked whenever the entry was found, complete library or not.
    llpxldrv::GetNumCardsFn count = llpxldrv::Entries().GetNumCards;
    return count ? count() : 0;
}

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
    font.SetSize(18, main->PixelsPerInch);
    font.Style = fsBold;
    font.Color = clBlack;
    header->SetFont(font);

    helpForm_ = THelpForm::Build(main, BuildHelpDocument({CompanyName, cardName, bSeries, MultiPort,
                                                          static_cast<bool>(OnGetCardString)}));
    FreeNotification(helpForm_);
    techForm_ = TTechForm::Build(main, BuildSupportText(CompanyName, CallHow),
                                 [this](TObject* s) { CloseButtonClick(s); });
    FreeNotification(techForm_);

    pciForm_ = nullptr;
    bool found = OnGetCardString ? BuildCardsWindow(main, cardName) : true;
    header->SetCaption(found ? cardName + (bSeries ? " Series" : "") + " Settings Program"
                             : "No " + cardName + (bSeries ? " Series Card" : "") + " Found");

    firstRun_ = true;
    UpdateTimer();
}

bool TSetupSupporter::BuildCardsWindow(TForm* main, const std::string& cardName) {
    if (TMainMenu* menu = main->Menu()) {
        TMenuItem* bar = menu->Items();
        for (int i = 0; i < bar->Count(); ++i) {
            TMenuItem* file = bar->Items(i);
            if (file->Caption() != "&File") continue;
            auto* entry = new TMenuItem(file);
            entry->SetName("DisplayPCI");
            entry->SetCaption("Display " + cardName + " Cards Installed");
            entry->OnClick = [this](TObject* s) { DisplayPCIClick(s); };
            file->Insert(0, entry);
            break;
        }
    }

    pciForm_ = TPCIForm::Build(main, cardName, [this](TObject* s) { CloseButtonClick(s); });
    FreeNotification(pciForm_);
    TMemo* memo = pciForm_->PCIMemo;

    const int32_t count = std::min(CountCards ? CountCards() : 0, MaxCards);
    std::vector<std::string> lines;
    if (count > 0) {
        memo->Lines.Clear();
        // The lines go into the memo at once rather than one by one (each of which would pass
        // the whole text to the window again); a page that fails part-way leaves what it gave.
        try {
            for (int32_t card = 0; card < count; ++card) {
                std::string text = OnGetCardString(this, card);
                if (!text.empty()) lines.push_back(std::move(text));
            }
        } catch (...) {
            memo->Lines.Assign(lines);
            throw;
        }
        memo->Lines.Assign(lines);
    }
    if (lines.empty()) memo->Lines.SetText("No Card Found");
    return !lines.empty();
}

void TSetupSupporter::CloseButtonClick(TObject* sender) {
    auto* control = dynamic_cast<TControl*>(sender);
    if (!control) return;
    if (TForm* f = control->ParentForm()) f->Hide();
}

void TSetupSupporter::DisplayPCIClick(TObject*) {
    if (pciForm_) pciForm_->Show(); // showing a shown window brings it to the front
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
        m.Result = 0;
        // A box of the running tick, or its error report, keeps the message loop going; a
        // tick arriving meanwhile would poll again behind the user's back.
        if (ticking_) return;
        ticking_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{ticking_};
        try {
            TimerTick();
        } catch (const std::exception& e) {
            if (Application) Application->HandleException(this, e);
        }
        return;
    }
    TMessageWindow::DefWindowProc(m);
}

void TSetupSupporter::TimerTick() {
    if (firstRun_) {
        if (helpForm_) helpForm_->Show();
        firstRun_ = false;
        UpdateTimer();
        return;
    }
    CalibrationTick();
}

// ---------------------------------------------------------------- calibration cycle

namespace {
constexpr unsigned BoxFlags = MB_TOPMOST | MB_SETFOREGROUND | MB_ICONWARNING;
} // namespace

void TSetupSupporter::CalibrationTick() {
    // The timer runs only while a flag is set; a tick left over from before it stopped has
    // nothing to poll.
    if (!calibrating_) return;
    if (onBeginCalib_) onBeginCalib_(this);
    if (!OnGetCalibString) {
        SetCalibrating(false);
        Application->MessageBox("Error: calibration begun, but OnGetCalibString isn't assigned.",
                                "OnGetCalibString Not Assigned", BoxFlags | MB_OK);
        ResetButtons();
        return;
    }
    for (const TCalibRecord& r : calibRecords_)
        if (TControl* c = r.HiddenControl()) c->Hide();
    bool itsAllBad = true;
    for (int channel = 0; channel < Channels; ++channel) {
        std::string text = OnGetCalibString(this, static_cast<uint8_t>(channel), itsAllBad);
        WriteChannelLine(static_cast<uint8_t>(channel), text);
    }
    if (!itsAllBad) return;
    SetCalibrating(false);
    int answer =
        Application->MessageBox("Total A/D failure. The card may not be installed, or it "
                                "may be installed at a different base address.",
                                "Total A/D failure", BoxFlags | MB_RETRYCANCEL | MB_DEFBUTTON2);
    if (answer == IDRETRY)
        SetCalibrating(true);
    else
        ResetButtons();
}

void TSetupSupporter::SetCalibrating(bool value) {
    if (value == calibrating_) return;
    calibrating_ = value;
    UpdateTimer();
}

void TSetupSupporter::ResetButtons() {
    if (ChangeButtons) {
        for (const TCalibRecord& r : calibRecords_) {
            TButton* b = r.CalibButton();
            if (!b) continue;
            // The handler being replaced may be the one running now (a Stop button that ends
            // the cycle): it is kept alive until the message loop is back.
            auto old = std::make_shared<TNotifyEvent>(std::move(b->OnClick));
            if (*old && Application) Application->QueueAsyncCall([old] {});
            b->OnClick = OnStartButtonClick;
            b->SetCaption("Start");
        }
    }
    SetCalibrating(false);
}

void TSetupSupporter::WriteChannelLine(uint8_t channel, const std::string& text) {
    const std::string line = "Channel " + std::to_string(channel) + "\t" + text;
    for (const TCalibRecord& r : calibRecords_) {
        TMemo* list = r.ChannelList();
        if (!list) continue;
        TStrings& lines = list->Lines;
        if (channel < lines.Count()) {
            lines.Put(channel, line);
            continue;
        }
        // A list shorter than the channel count grows to it, so that every line lands at its
        // channel's number.
        while (lines.Count() < channel)
            lines.Add("");
        lines.Add(line);
    }
}

int TSetupSupporter::AddCalibRecord(TCalibRecord record) {
    for (size_t i = 0; i < calibRecords_.size(); ++i) {
        const TCalibRecord& r = calibRecords_[i];
        if (r.ChannelList.Address() == record.ChannelList.Address() &&
            r.CalibButton.Address() == record.CalibButton.Address() &&
            r.HiddenControl.Address() == record.HiddenControl.Address())
            return static_cast<int>(i);
    }
    if (calibRecords_.size() >= MaxCalibRecords)
        throw Exception("No more than " + std::to_string(MaxCalibRecords) +
                        " calibration records can be registered");
    calibRecords_.push_back(std::move(record));
    return static_cast<int>(calibRecords_.size() - 1);
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
        .Event<TPCIEvent>("OnGetCardString", &S::OnGetCardString, "TPCIEvent")
        .Event<TCalibEvent>("OnGetCalibString", &S::OnGetCalibString, "TCalibEvent")
        .Event("OnStopButtonClick", &S::OnStopButtonClick)
        .Event("OnStartButtonClick", &S::OnStartButtonClick);
}

} // namespace ui
