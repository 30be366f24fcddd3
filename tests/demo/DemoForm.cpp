#include "tests/demo/DemoForm.h"

#include "app/Template.h"
#include "driver/LLPXLDRV.h"
#include "driver/simulator/Simulator.h"
#include "platform/Streaming.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace ui {

namespace {

std::string Joined(const TStrings& lines) {
    std::string out;
    for (int i = 0; i < lines.Count(); ++i)
        out += (i ? " | " : "") + lines[i];
    return out;
}

} // namespace

TDemoForm::TDemoForm(TComponent* owner) : TForm(owner) {
    RegisterProgramClasses();
    ClassRegistry::Get().Register("TDemoForm", "TForm", nullptr);
    auto handler = [this](const char* name, void (TDemoForm::*fn)(TObject*)) {
        RegisterHandler(name, [this, fn](TObject* s) { (this->*fn)(s); });
    };
    handler("FormCreate", &TDemoForm::FormCreate);
    handler("Exit2Click", &TDemoForm::Exit2Click);
    handler("Howtousethisprogram1Click", &TDemoForm::Howtousethisprogram1Click);
    handler("TechnicalSupport1Click", &TDemoForm::TechnicalSupport1Click);
    handler("StartButtonClick", &TDemoForm::StartButtonClick);
    RegisterTypedHandler<TPCIEvent>("SetSupGetCardString", [this](TObject* s, int32_t card) {
        return SetSupGetCardString(s, card);
    });
    RegisterTypedHandler<TCalibEvent>("SetSupGetCalibString",
                                      [this](TObject* s, uint8_t channel, bool& allBad) {
                                          return SetSupGetCalibString(s, channel, allBad);
                                      });

    LoadPageResource(*this, "TDEMOFORM");
    BindField(*this, MainMenu1, "MainMenu1");
    BindField(*this, File1, "File1");
    BindField(*this, CalibPanel, "CalibPanel");
    BindField(*this, CalibList, "CalibList");
    BindField(*this, StartButton, "StartButton");
    BindField(*this, CalibHint, "CalibHint");
    BindField(*this, SetSup, "SetSup");

    if (const char* path = std::getenv("SETTINGS_DEMO_REPORT"); path && *path) {
        reportPath_ = path;
        reportWindow_ = std::make_unique<TMessageWindow>([this](TMessage& m) {
            if (m.Msg == WM_TIMER) WriteReport();
        });
        reportWindow_->SetTimer(1, 50);
    }
    DoCreate();
}

TDemoForm::~TDemoForm() {
    reportWindow_.reset();
}

void TDemoForm::FormCreate(TObject*) {
    TSetupSupporter* sup = SetSup;
    Application->OnIdle = [sup](TObject* s, bool& done) { sup->AppIdle(s, done); };
    SetActiveControl(StartButton);
}

void TDemoForm::Exit2Click(TObject*) {
    Close();
}

void TDemoForm::Howtousethisprogram1Click(TObject*) {
    if (THelpForm* f = SetSup->HelpForm()) f->Show();
}

void TDemoForm::TechnicalSupport1Click(TObject*) {
    if (TTechForm* f = SetSup->TechForm()) f->Show();
}

void TDemoForm::StartButtonClick(TObject*) {
    if (SetSup->Calibrating()) {
        SetSup->StopCalibration();
        return;
    }
    SetSup->RegisterCalibRecord(&CalibList, &StartButton, &CalibHint, CalibratedCard);
    // The page's own stop state; the supporter gives "Start" back when the cycle ends.
    StartButton->SetCaption("Stop");
    SetSup->StartCalibration();
}

std::string TDemoForm::SetSupGetCardString(TObject*, int32_t card) {
    const llpxldrv::EntryPoints& d = llpxldrv::Entries();
    if (!d.QueryCardInfo || !d.QueryBARBase) return "Card " + std::to_string(card);
    uint32_t model = 0, serial = 0, base = 0;
    if (d.QueryCardInfo(card, &model, &serial) != llpxldrv::kOk || model != pxlsim::kModelNumber ||
        d.QueryBARBase(card, 0, &base) != llpxldrv::kOk)
        return {}; // no card of this family: not listed
    char text[96];
    std::snprintf(text, sizeof text, "Card %d: serial %u, I/O at 0x%04X", card, serial, base);
    return text;
}

std::string TDemoForm::SetSupGetCalibString(TObject*, uint8_t channel, bool& itsAllBad) {
    const llpxldrv::EntryPoints& d = llpxldrv::Entries();
    if (!d.RelOutPortB || !d.RelInPortB || !d.RelInPort) return "no driver";
    uint8_t status = 0;
    uint16_t counts = 0;
    if (d.RelOutPortB(CalibratedCard, pxlsim::kAdcControlOffset, channel) != llpxldrv::kOk ||
        d.RelInPortB(CalibratedCard, pxlsim::kAdcStatusOffset, &status) != llpxldrv::kOk ||
        !(status & pxlsim::kAdcDone) ||
        d.RelInPort(CalibratedCard, pxlsim::kAdcDataOffset, &counts) != llpxldrv::kOk)
        return "no reading";
    itsAllBad = false;
    char text[32];
    std::snprintf(text, sizeof text, "%+8.4f V", pxlsim::AdcVolts(counts));
    return text;
}

std::string TDemoForm::Report() const {
    std::string r;
    auto line = [&r](const std::string& name, const std::string& value) {
        r += name + "=" + value + "\n";
    };
    line("header", SetSup->HeaderLabel() ? SetSup->HeaderLabel()->Caption() : "");
    TPCIForm* cards = SetSup->PCIForm();
    line("cards_window", !cards ? "none" : cards->Visible() ? "shown" : "hidden");
    line("cards", cards ? Joined(cards->PCIMemo->Lines) : "");
    line("file_first", File1->Count() ? File1->Items(0)->Caption() : "");
    line("calibrating", SetSup->Calibrating() ? "yes" : "no");
    line("button", StartButton->Caption());
    line("hint", CalibHint->Visible() ? "shown" : "hidden");
    line("channels", Joined(CalibList->Lines));
    return r;
}

void TDemoForm::WriteReport() const {
    // Replaced in one step, so that a reader never sees half a report.
    const std::string partial = reportPath_ + ".partial";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << Report();
        if (!out) return;
    }
    std::rename(partial.c_str(), reportPath_.c_str());
}

} // namespace ui
