// The headless benchmarks. The game is started once, before any of them runs,
// so that every benchmark finds its pictures loaded.

#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/headless_game.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
