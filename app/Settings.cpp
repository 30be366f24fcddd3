// The program's entry: the main window from its page definition, then the message loop.
#include "app/Template.h"
#include "platform/Program.h"

int main(int argc, char** argv) {
    return ui::RunProgram(argc, argv, [] { ui::Application->CreateForm<ui::TMainForm>(); });
}
