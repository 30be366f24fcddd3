// The calibration demo: the program's start-up with the demo page as its main window.
#include "platform/Program.h"
#include "tests/demo/DemoForm.h"

int main(int argc, char** argv) {
    return ui::RunProgram(argc, argv, [] { ui::Application->CreateForm<ui::TDemoForm>(); });
}
