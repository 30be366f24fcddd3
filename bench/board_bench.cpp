// The board's drawing work: a glow image for a 65 x 65 circle and a jumper paint.
#include "controls/RadioPanel.h"
#include "controls/ThreeJumper.h"
#include "controls/glow/Glow.h"
#include "platform/TestSeams.h"

#include <benchmark/benchmark.h>

namespace {

void BM_RenderGlow65(benchmark::State& state) {
    ui::TBitmap bmp;
    bmp.SetSize(65, 65);
    for (auto _ : state) {
        // Black background each time, as a circle's first paint finds the photograph beneath.
        for (int y = 0; y < 65; ++y)
            std::fill_n(bmp.ScanLine(y), 65 * 4, uint8_t{0});
        glow::RenderGlow(bmp.ScanLine(0), bmp.StrideBytes(), 64, 64, state.range(0) != 0, 0x00FFFF,
                         0.75f);
        benchmark::DoNotOptimize(bmp.ScanLine(32));
    }
}
BENCHMARK(BM_RenderGlow65)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_JumperPaint(benchmark::State& state) {
    ui::testing::InitTestApplication();
    {
        ui::TRadioPanel panel(nullptr);
        auto* j = new ui::TThreeJumper(&panel);
        j->SetParent(&panel);
        j->SetJumperState(ui::TJumperState::jsLeft);
        ui::TBitmap surface;
        surface.SetSize(panel.Width(), panel.Height());
        ui::TCanvas canvas(surface.Surface());
        for (auto _ : state) {
            panel.PaintWindow(canvas, panel.ClientRect());
            benchmark::DoNotOptimize(surface.ScanLine(9));
        }
    }
    ui::testing::DoneTestApplication();
}
BENCHMARK(BM_JumperPaint)->Unit(benchmark::kMicrosecond);

} // namespace
