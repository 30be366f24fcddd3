// Cost of the work between process start and the first frame: decoding the card photograph and
// building the main window from its page definition.
#include "app/Template.h"
#include "platform/TestSeams.h"
#include "platform/jpeg/JpegDecode.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <iterator>

namespace {

std::vector<uint8_t> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BM_DecodeCardPhotograph(benchmark::State& state) {
    auto data = ReadFile(SETTINGS_SOURCE_DIR "/resources/card.jpg");
    if (data.empty()) {
        state.SkipWithError("card.jpg not found");
        return;
    }
    for (auto _ : state) {
        jpeg::Image img;
        std::string error;
        if (!jpeg::Decode(data.data(), data.size(), img, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(img.pixels.data());
    }
}
BENCHMARK(BM_DecodeCardPhotograph)->Unit(benchmark::kMillisecond);

void BM_CreateMainWindowFromPage(benchmark::State& state) {
    ui::testing::InitTestApplication();
    for (auto _ : state) {
        auto* form = ui::Application->CreateForm<ui::TMainForm>();
        benchmark::DoNotOptimize(form);
        delete form;
    }
    ui::testing::DoneTestApplication();
}
BENCHMARK(BM_CreateMainWindowFromPage)->Unit(benchmark::kMicrosecond);

} // namespace
