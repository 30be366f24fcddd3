// A calibration page for the KX-7140 family, for trying the installed-cards window and the
// calibration cycle by hand and for driving them end to end; not the program's page. Its
// supporter lists one text per card from the driver library and polls the stand-in driver's
// A/D channels into an eight-line list while the cycle runs.
#pragma once

#include "controls/HelpForm.h"
#include "controls/PCIForm.h"
#include "controls/SetupSupporter.h"
#include "controls/TechForm.h"

#include <string>

namespace ui {

class TDemoForm : public TForm {
    UI_CLASS(TDemoForm)
public:
    explicit TDemoForm(TComponent* owner);
    ~TDemoForm() override;

    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TPanel* CalibPanel = nullptr;
    TMemo* CalibList = nullptr;
    TButton* StartButton = nullptr;
    TLabel* CalibHint = nullptr;
    TSetupSupporter* SetSup = nullptr;

    // The card whose channels the panel shows.
    static constexpr int CalibratedCard = 0;

    void FormCreate(TObject* sender);
    void Exit2Click(TObject* sender);
    void Howtousethisprogram1Click(TObject* sender);
    void TechnicalSupport1Click(TObject* sender);
    // Start registers the panel with the supporter and starts the cycle; pressed again while it
    // runs (the button then reads "Stop") it ends it.
    void StartButtonClick(TObject* sender);
    std::string SetSupGetCardString(TObject* sender, int32_t cardIndex);
    std::string SetSupGetCalibString(TObject* sender, uint8_t channel, bool& itsAllBad);

    // What the windows show, one "name=value" per line: the end-to-end check reads it from the
    // file named by SETTINGS_DEMO_REPORT, rewritten every 50 ms.
    std::string Report() const;

private:
    void WriteReport() const;
    std::string reportPath_;
    std::unique_ptr<TMessageWindow> reportWindow_;
};

} // namespace ui
