#include "controls/BoardImage.h"

#include "platform/Streaming.h"

namespace ui {

TBoardImage::TBoardImage(TComponent* owner) : TCustomPanel(owner) {}

void TBoardImage::WndProc(TMessage& m) {
    if (m.Msg == WM_STARTTOUR) {
        StartTour();
        return;
    }
    TCustomPanel::WndProc(m);
}

void RegisterBoardImageClass() {
    RegisterClass<TBoardImage>("TBoardImage", "TWinControl");
}

} // namespace ui
