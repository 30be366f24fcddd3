// The board picture: a windowed panel that shows the card photograph and starts the guided tour.
#pragma once

#include "platform/StdCtrls.h"

namespace ui {

// Private message that starts the guided tour; both parameters 0.
constexpr unsigned WM_STARTTOUR = 0x04A2;

class TBoardImage : public TCustomPanel {
    UI_CLASS(TBoardImage)
public:
    explicit TBoardImage(TComponent* owner);
    void WndProc(TMessage& m) override;

protected:
    // The tour begins at the first circle; circles arrive with the highlight controls.
    virtual void StartTour() {}
};

void RegisterBoardImageClass();

} // namespace ui
