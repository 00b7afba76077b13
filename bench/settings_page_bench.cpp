// One frame of the settings screen's "Watch a replay" page, as the overlay
// draws it each frame it stands open: with no recordings, and with a folder
// that filled to 10,000 (copied in, or kept by an older game). The two must
// cost alike: the page lists the folder once, as it opens, and a frame must
// not grow with what the folder holds.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/settings_painter.h"
#include "bench/headless_game.h"
#include "shell/settings_menu.h"

namespace {

namespace fs = std::filesystem;

// A recordings folder holding `count` recordings, one a second.
fs::path recordingsOf(int count) {
    const fs::path folder =
        fs::temp_directory_path() /
        ("kordavan-bench-recordings-" + std::to_string(::getpid()) + "-" + std::to_string(count));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "Kordavan 2026-12-%02d %02d-%02d-%02d.replay",
                      1 + i / 86400, i / 3600 % 24, i / 60 % 60, i % 60);
        std::ofstream(folder / name) << "kordavan-replay 1\n";
    }
    return folder;
}

void BM_WatchAReplayPageFrame(benchmark::State& state) {
    // The screen's letters are the game's pictures.
    if (!startHeadlessGame()) {
        state.SkipWithError("headless start-up failed");
        return;
    }
    const fs::path folder = recordingsOf(static_cast<int>(state.range(0)));
    SettingsScreenModel model(folder / "kordavan.conf", folder);
    model.open();
    const auto& first = model.rows();
    for (size_t i = 0; i < first.size(); ++i) {
        if (first[i].label == "Watch a replay...") model.select(i);
    }
    model.activate();
    platform::Surface under;
    under.width = 640;
    under.height = 480;
    under.pixels.assign(640 * 480, 0);
    platform::Surface target = under;
    size_t top = 0;
    for (auto _ : state) {
        top = firstShownRow(top, model.selected(), model.rows().size());
        paintSettingsScreen(target, under, model, top);
        benchmark::DoNotOptimize(target.pixels.data());
    }
    state.counters["rows"] = static_cast<double>(model.rows().size());
    fs::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_WatchAReplayPageFrame)->Arg(0)->Arg(10'000)->Unit(benchmark::kMicrosecond);
