// One Qt application for the whole test process, on the offscreen platform.
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

// Sanitizer settings travel with the binary, so that every way of starting a test gets them.
// Qt, fontconfig and the X libraries keep a few process-lifetime allocations; our own code may not
// leak, so only those libraries are suppressed.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6Core\nleak:libQt6Gui\nleak:libQt6Widgets\nleak:libfontconfig\n"
           "leak:libfreetype\nleak:libglib-2.0\nleak:libX11\nleak:libxcb\n";
}
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ui::testing::StartTestProcess(argc, argv);
    return RUN_ALL_TESTS();
}
