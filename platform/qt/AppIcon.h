// The program's icon on its windows, kept free of Qt so that start-up code can call it.
#pragma once

#include <vector>

namespace ui::qt {

// Gives every window of the program its icon, the icon theme's PNGs embedded in the program, and
// names the desktop entry that the program's windows belong to (on Wayland the compositor takes
// the icon from there). Call once, after the application object exists.
void InstallAppIcon();

// The square pixel sizes, smallest first, of the icon that the program's windows get; empty
// before InstallAppIcon.
std::vector<int> AppIconSizes();

} // namespace ui::qt
