// What the support and cards windows share: a read-only memo over a Close button.
#pragma once

#include "platform/StdCtrls.h"

namespace ui {

struct TMemoAndClose {
    TMemo* memo = nullptr;
    TButton* close = nullptr;
};

// A read-only memo with a vertical scroll bar at 8, 8 (305 x 89), and a Close button (73 x 25)
// at closeLeft, 105 that Esc presses and that comes first in the tab order.
TMemoAndClose AddMemoAndClose(TForm* f, const std::string& memoName, int closeLeft,
                              TNotifyEvent closeClick);

// Fits the window to the two (which move to the client area's top-left corner; no margin),
// optionally centres the button in it, lets the memo follow every edge and the button the bottom
// edge, and scales the window, laid out at 96 pixels per inch, to the screen.
void FitMemoAndClose(TForm* f, const TMemoAndClose& parts, bool centreClose);

} // namespace ui
