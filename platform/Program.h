// Start and end of the program: the application object around a message loop.
#pragma once

#include "platform/Forms.h"

namespace ui {

// Initialises the application, lets `createForms` create the main window, runs the message loop
// and returns the exit code. A failure while creating the windows is shown in an error box.
int RunProgram(int argc, char** argv, const std::function<void()>& createForms);

} // namespace ui
