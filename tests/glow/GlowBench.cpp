#include "controls/glow/Glow.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

// One glow image of a default-sized circle (65 × 65), as built three times at a circle's first
// paint. The image is rendered over and over in place: the work per pixel depends only on its
// position, not on the background it blends, so every run costs the same.
void BM_RenderGlow65(benchmark::State& state) {
    const bool whiteCore = state.range(0) != 0;
    const int size = 65;
    std::vector<uint8_t> image(size * size * 4);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 7 + 3);
    for (auto _ : state) {
        glow::RenderGlow(image.data(), size * 4, size - 1, size - 1, whiteCore, 0x00FFFF, 0.75f);
        benchmark::DoNotOptimize(image.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * size * size);
}
BENCHMARK(BM_RenderGlow65)->Arg(0)->Arg(1)->ArgName("whiteCore");

} // namespace

BENCHMARK_MAIN();
