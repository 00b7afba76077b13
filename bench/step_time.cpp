// kordavan-step-time: the time of one game step, as bench/headless_game.cpp
// makes it, in a program that builds both for this machine and for node
// (Google Benchmark does not build for WebAssembly), so that bench/run.sh can
// set the node build's step against this machine's in the same run.
//
//   kordavan-step-time [STEPS [REPETITIONS]]
//
// Prints one JSON line: {"steps":N,"step_us":[mean wall time per step, one
// figure per repetition]}.

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/headless_game.h"

namespace {

// A stretch of play before the timing, so that it starts in the thick of a game.
constexpr int warmUpSteps = 500;

}  // namespace

int main(int argc, char** argv) {
    const int steps = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int repetitions = argc > 2 ? std::atoi(argv[2]) : 5;
    if (steps <= 0 || repetitions <= 0) {
        std::fputs("usage: kordavan-step-time [STEPS [REPETITIONS]]\n", stderr);
        return 2;
    }
    if (!startHeadlessGame()) {
        std::fputs("kordavan-step-time: headless start-up failed\n", stderr);
        return 1;
    }
    for (int i = 0; i < warmUpSteps; ++i) headlessGameStep();
    std::printf("{\"steps\":%d,\"step_us\":[", steps);
    for (int r = 0; r < repetitions; ++r) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < steps; ++i) headlessGameStep();
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - start;
        std::printf("%s%.3f", r == 0 ? "" : ",", took.count() / steps);
    }
    std::printf("]}\n");
    return 0;
}
