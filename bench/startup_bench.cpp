// From nothing to the first title frame on the headless machine: every
// picture decoded and keyed, every sound read, the keyboard opened, one title
// pass drawn and flipped. Escape in that pass ends the program again, so the
// time includes the teardown as well.

#include <benchmark/benchmark.h>

#include <chrono>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "bench/headless_game.h"
#include "platform/headless.h"
#include "platform/platform.h"

namespace {

void BM_StartupToFirstTitleFrame(benchmark::State& state) {
    // The other benchmarks' game goes with the machine it runs on.
    forgetHeadlessGame();
    for (auto _ : state) {
        platform::headless::use();
        platform::headless::setAutoAdvance(20'000);
        // The title pass polls the keyboard before it draws; Escape then ends
        // the loop right after the pass's flip.
        platform::headless::setKeyScript({{platform::DIK_ESCAPE}});
        const auto start = std::chrono::steady_clock::now();
        if (initApplication(platform::gameModule(), 1) == 0) {
            shutdownApp();
            state.SkipWithError("headless start-up failed");
            return;
        }
        const int flipsBefore = platform::headless::flipCount();
        runMainLoop(LoopStart::title(), deviceControls());
        const auto end = std::chrono::steady_clock::now();
        if (platform::headless::flipCount() != flipsBefore + 1) {
            state.SkipWithError("the title pass did not flip exactly once");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

}  // namespace

BENCHMARK(BM_StartupToFirstTitleFrame)->UseManualTime()->Unit(benchmark::kMillisecond);
