// The main window as the program starts it, for the suites that drive the whole page.
#pragma once

#include "app/Template.h"
#include "platform/TestSeams.h"

namespace ui::testing {

// A test application on a screen of the given size, with the main window created from its page.
inline TMainForm* CreateMainWindow(int screenWidth = 1024, int screenHeight = 768) {
    InitTestApplication();
    SetScreenSize(screenWidth, screenHeight);
    return Application->CreateForm<TMainForm>();
}

// Shows a window and runs up to the first idle moment: shown and painted, the queue empty.
inline void ShowUntilIdle(TForm* form) {
    form->Show();
    ProcessPendingMessages();
    RunIdle();
}

} // namespace ui::testing
