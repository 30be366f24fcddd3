// The setup-support component: at the first idle moment it adds the header line and builds the
// help and technical-support windows and, for a page that supplies per-card texts, the
// installed-cards window; its 100 ms timer shows the help window once and drives the
// calibration cycle.
#pragma once

#include "controls/CalibRecord.h"
#include "platform/Timers.h"

#include <vector>

namespace ui {

class THelpForm;
class TTechForm;
class TPCIForm;

using TPCIEvent = std::function<std::string(TObject* sender, int32_t cardIndex)>;
using TCalibEvent = std::function<std::string(TObject* sender, uint8_t channel, bool& itsAllBad)>;

// The number of installed cards as the driver library reports it: binds the library and asks
// its GetNumCards. A library that is missing or has no GetNumCards counts as no card.
int32_t DriverCardCount();

class TSetupSupporter : public TComponent {
    UI_CLASS(TSetupSupporter)
public:
    explicit TSetupSupporter(TComponent* owner);
    ~TSetupSupporter() override;

    std::string CompanyName;
    std::string CardNameA;
    std::string CardNameB;
    bool UseCardNameB = false;
    std::string CallHow;
    bool MultiPort = false;
    uint8_t Channels = 8;
    // Starts True although a page that leaves it out declares False: see the registration.
    bool ChangeButtons = true;
    bool bSeries = true;
    const TNotifyEvent& OnBeginCalib() const { return onBeginCalib_; }
    void SetOnBeginCalib(TNotifyEvent e);
    TPCIEvent OnGetCardString;
    TCalibEvent OnGetCalibString;
    TNotifyEvent OnStopButtonClick;
    TNotifyEvent OnStartButtonClick;

    // Where the installed-cards window gets the number of cards from: the driver library unless
    // something else is put in its place (tests do).
    std::function<int32_t()> CountCards = DriverCardCount;
    // Card indexes asked of the page at most. A PCI segment holds at most 256 buses x 32
    // devices x 8 functions = 65,536 functions and every card is at least one of them, so a
    // larger count comes from a broken library; asking the page that often (two billion times
    // for a count of 2,000,000,000) would freeze the program.
    static constexpr int32_t MaxCards = 65536;

    // The application's idle handler: unhooks itself, then builds the windows.
    void AppIdle(TObject* sender, bool& done);

    THelpForm* HelpForm() const { return helpForm_; }
    TTechForm* TechForm() const { return techForm_; }
    TPCIForm* PCIForm() const { return pciForm_; }
    TLabel* HeaderLabel() const { return headerLabel_; }
    bool FirstRun() const { return firstRun_; }
    bool Calibrating() const { return calibrating_; }
    bool TimerRunning() const { return messageWindow_->TimerRunning(1); }

    // Hides the parent window of the Close button that was clicked.
    void CloseButtonClick(TObject* sender);
    // The File menu's entry: shows the installed-cards window as it was built.
    void DisplayPCIClick(TObject* sender);

    // Registers the page's controls for the calibration cycle through the page's own references
    // to them (any of which may hold none); returns the record's index. The same three
    // references registered again give the same record, not a second one. At most 256 records.
    template <class L, class B, class H>
    int RegisterCalibRecord(L* const* channelList, B* const* calibButton, H* const* hiddenControl,
                            int tag = 0) {
        return AddCalibRecord(TCalibRecord{channelList, calibButton, hiddenControl, tag});
    }
    const std::vector<TCalibRecord>& CalibRecords() const { return calibRecords_; }
    static constexpr size_t MaxCalibRecords = 256;
    // Starts the cycle: the first poll follows 100 ms later.
    void StartCalibration() { SetCalibrating(true); }
    // Ends the cycle and gives the records' buttons their start state back, as the cycle does
    // when it ends by itself.
    void StopCalibration() { ResetButtons(); }

protected:
    void Notification(TComponent* c, bool removing) override;

private:
    TForm* MainWindow() const;
    void BuildWindows();
    bool BuildCardsWindow(TForm* main, const std::string& cardName);
    void UpdateTimer();
    void WndProc(TMessage& m);
    void TimerTick();
    void CalibrationTick();
    void SetCalibrating(bool value);
    void ResetButtons();
    void WriteChannelLine(uint8_t channel, const std::string& text);
    int AddCalibRecord(TCalibRecord record);

    bool firstRun_ = false;
    bool calibrating_ = false;
    // A tick is running, with any box it opened: ticks that arrive meanwhile are dropped.
    bool ticking_ = false;
    std::unique_ptr<TMessageWindow> messageWindow_;
    TNotifyEvent onBeginCalib_;
    TLabel* headerLabel_ = nullptr;
    TPCIForm* pciForm_ = nullptr;
    THelpForm* helpForm_ = nullptr;
    TTechForm* techForm_ = nullptr;
    std::vector<TCalibRecord> calibRecords_;
};

void RegisterSetupSupporterClass();

} // namespace ui
