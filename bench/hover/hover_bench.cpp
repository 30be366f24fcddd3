// Hover to tool window, in-process on the offscreen platform: the mouse entering a circle until
// its tool window is shown, the first time (the window is built) and again (the hidden window is
// shown), and the glow images of all four circles at the page's first paint. Prints one line per
// figure: name, then the median in microseconds.
#include "app/Template.h"
#include "controls/BoardHighlight.h"
#include "controls/PopupForm.h"
#include "platform/TestSeams.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace ui;
namespace ts = ui::testing;
using Clock = std::chrono::steady_clock;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Micros(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::micro>(b - a).count();
}

// The main window up to its first idle moment, painted once.
TMainForm* StartPage() {
    ts::InitTestApplication();
    ts::SetScreenSize(1024, 768);
    auto* form = Application->CreateForm<TMainForm>();
    form->Show();
    ts::ProcessPendingMessages();
    ts::RunIdle();
    ts::ProcessPendingMessages();
    return form;
}

void Hover(TControl* c) {
    TPoint s = c->ClientToScreen({c->Width() / 2, c->Height() / 2});
    ts::SetCursorPos(s.X, s.Y);
    Application->TrackMouse();
}

} // namespace

int main(int argc, char** argv) {
    ts::StartTestProcess(argc, argv);
    const int runs = 21;
    std::vector<double> first, again, images;
    for (int r = 0; r < runs; ++r) {
        TMainForm* form = StartPage();
        TBoardHighlight* circle = form->CTRPullHighlight0;
        TControl* away = form->BoardImage1;

        auto t0 = Clock::now();
        Hover(circle);
        auto t1 = Clock::now();
        if (!circle->Popup() || !circle->Popup()->Visible()) {
            std::fprintf(stderr, "hover_bench: the tool window did not open\n");
            return 1;
        }
        first.push_back(Micros(t0, t1));

        ts::SetCursorPos(away->ClientToScreen({300, 300}).X, away->ClientToScreen({300, 300}).Y);
        Application->TrackMouse();
        ts::ProcessPendingMessages();
        auto t2 = Clock::now();
        Hover(circle);
        auto t3 = Clock::now();
        again.push_back(Micros(t2, t3));

        // The four circles' images, as their first run-time paint makes them: from what the
        // board picture painted beneath them.
        TBoardImage* board = form->BoardImage1;
        TBitmap under;
        under.SetSize(board->Width(), board->Height());
        TCanvas& canvas = under.Canvas();
        board->PaintWindow(canvas, board->ClientRect());
        double sum = 0;
        for (int i = 0; i < board->ControlCount(); ++i) {
            auto* c = dynamic_cast<TBoardHighlight*>(board->Controls(i));
            if (!c) continue;
            canvas.SetOriginAndClip({c->Left(), c->Top()}, c->BoundsRect());
            auto a = Clock::now();
            c->BuildImages(canvas);
            sum += Micros(a, Clock::now());
        }
        images.push_back(sum);
        ts::DoneTestApplication();
    }
    std::printf("hover_first_open %.1f\n", Median(first));
    std::printf("hover_reopen %.1f\n", Median(again));
    std::printf("circle_images_all_four %.1f\n", Median(images));
    return 0;
}
