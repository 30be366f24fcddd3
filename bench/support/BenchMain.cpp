// One main for the benchmarks: Qt offscreen first, as in the tests, then Google Benchmark.
#include "platform/TestSeams.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    ui::testing::StartTestProcess(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
