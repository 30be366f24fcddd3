// The setup-support component: at the first idle moment it adds the header line and builds the
// help and technical-support windows; its 100 ms timer shows the help window once.
#pragma once

#include "platform/StdCtrls.h"
#include "platform/Timers.h"

namespace ui {

class THelpForm;
class TTechForm;

using TPCIEvent = std::function<std::string(TObject* sender, int32_t cardIndex)>;
using TCalibEvent = std::function<std::string(TObject* sender, uint8_t channel, bool& itsAllBad)>;

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

    // The application's idle handler: unhooks itself, then builds the windows.
    void AppIdle(TObject* sender, bool& done);

    THelpForm* HelpForm() const { return helpForm_; }
    TTechForm* TechForm() const { return techForm_; }
    TForm* PCIForm() const { return pciForm_; }
    TLabel* HeaderLabel() const { return headerLabel_; }
    bool FirstRun() const { return firstRun_; }
    bool Calibrating() const { return calibrating_; }
    bool TimerRunning() const { return messageWindow_->TimerRunning(1); }

    // Hides the parent window of the Close button that was clicked.
    void CloseButtonClick(TObject* sender);

protected:
    void Notification(TComponent* c, bool removing) override;

private:
    TForm* MainWindow() const;
    void BuildWindows();
    void UpdateTimer();
    void WndProc(TMessage& m);
    void TimerTick();

    bool firstRun_ = false;
    bool calibrating_ = false;
    std::unique_ptr<TMessageWindow> messageWindow_;
    TNotifyEvent onBeginCalib_;
    TLabel* headerLabel_ = nullptr;
    TForm* pciForm_ = nullptr;
    THelpForm* helpForm_ = nullptr;
    TTechForm* techForm_ = nullptr;
};

void RegisterSetupSupporterClass();

} // namespace ui
