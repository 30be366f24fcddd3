// The program as it starts for a user, reporting its first complete frame
// (bench/startup/FirstFrame.h) and then ending. Complete means the first idle moment: the loop
// has run empty after the main window's first paint, so every paint that showing caused is done
// (the board picture centres itself on the framed window while it first paints, which paints it
// once more). The program's own idle work (building the help window) is not run.
#include "app/Template.h"
#include "bench/startup/FirstFrame.h"
#include "platform/Program.h"

int main(int argc, char** argv) {
    return ui::RunProgram(argc, argv, [] {
        ui::Application->CreateForm<ui::TMainForm>();
        ui::Application->OnIdle = [](ui::TObject*, bool&) {
            ReportFirstFrame();
            ui::Application->Terminate();
        };
    });
}
