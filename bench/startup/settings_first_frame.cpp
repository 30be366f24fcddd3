// The program as it starts for a user, reporting the moment its main window's first frame is
// painted (CLOCK_REALTIME in nanoseconds) and then ending.
#include "app/Template.h"
#include "platform/Program.h"

#include <cstdio>
#include <ctime>

int main(int argc, char** argv) {
    return ui::RunProgram(argc, argv, [] {
        ui::Application->OnFirstFrame = [](ui::TObject*) {
            timespec ts{};
            clock_gettime(CLOCK_REALTIME, &ts);
            std::printf("first-frame %lld\n", ts.tv_sec * 1000000000LL + ts.tv_nsec);
            std::fflush(stdout);
            ui::Application->Terminate();
        };
        ui::Application->CreateForm<ui::TMainForm>();
    });
}
