// The program as it starts for a user, reporting its main window's first complete frame
// (bench/startup/FirstFrame.h) and then ending.
#include "app/Template.h"
#include "bench/startup/FirstFrame.h"
#include "platform/Program.h"

int main(int argc, char** argv) {
    return ui::RunProgram(argc, argv, [] {
        ui::Application->OnFirstFrame = [](ui::TObject*) {
            ReportFirstFrame();
            ui::Application->Terminate();
        };
        ui::Application->CreateForm<ui::TMainForm>();
    });
}
