// How long saving a setting keeps the game's frame waiting while another
// program holds kordavan.conf open, as a pager does for as long as the
// player reads: the longest of many saves, against the 16.7 ms of a frame.
// A save runs on the main thread, so its longest time is what a player sees
// as a stutter.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/settings_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int saves = 40;
constexpr double frameMilliseconds = 1000.0 / 60.0;

// Another program holding the file open until it is stopped; back once it
// has it open.
pid_t holdOpen(const fs::path& file) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t holder = ::fork();
    if (holder == 0) {
        std::ifstream held(file);
        const char opened = held ? 1 : 0;
        if (::write(ready[1], &opened, 1) != 1) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    char opened = 0;
    if (holder < 0 || ::read(ready[0], &opened, 1) != 1 || opened != 1) std::perror("holder");
    ::close(ready[0]);
    ::close(ready[1]);
    return holder;
}

void stop(pid_t holder) {
    if (holder <= 0) return;
    ::kill(holder, SIGTERM);
    ::waitpid(holder, nullptr, 0);
}

// The median and the longest of `saves` saves, each with its own holder
// when `held`.
struct Times {
    double median;
    double longest;
};

Times timeSaves(const fs::path& file, bool held) {
    std::vector<double> times;
    std::ostringstream warnings;
    for (int i = 0; i < saves; ++i) {
        // Each save replaces the file, so each has a holder of its own.
        const pid_t holder = held ? holdOpen(file) : 0;
        const auto start = std::chrono::steady_clock::now();
        saveSetting(file, "volume", i % 2 == 0 ? "20" : "30", warnings);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
        stop(holder);
    }
    if (!warnings.str().empty()) std::printf("%s", warnings.str().c_str());
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

}  // namespace

int main() {
    const fs::path folder =
        fs::temp_directory_path() / ("kordavan-save-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path file = folder / "kordavan.conf";
    std::ofstream(file) << "# held open by another program\nvolume = 10\n";
    // The baseline: the same saves with nobody holding the file, whose time
    // is the disk's syncing.
    const Times alone = timeSaves(file, false);
    const Times held = timeSaves(file, true);
    fs::remove_all(folder);
    std::printf("save, file held open by another process: median %.3f ms, longest %.3f ms\n",
                held.median, held.longest);
    std::printf("save, nobody else holding it (baseline): median %.3f ms, longest %.3f ms\n",
                alone.median, alone.longest);
    std::printf("%d saves each; a frame is %.1f ms: %s\n", saves, frameMilliseconds,
                held.longest < frameMilliseconds ? "within" : "BEYOND");
    return held.longest < frameMilliseconds ? 0 : 1;
}
