// kordavan-soak: plays a long game on the headless machine with the keys of a
// fixed-seed generator, and after every step checks that each field of the
// game state lies within its range. At the end the resident memory must be
// within 1 MiB of what it was after the first thousand steps.
//
//   kordavan-soak [--steps N] [--seed S]
//
// Exit codes: 0 all well; 1 a field left its range or the memory grew;
// 2 bad arguments; 3 start-up failed.

#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "game/state_fields.h"
#include "platform/headless.h"
#include "platform/platform.h"

namespace {

constexpr int64_t stepsBeforeBaseline = 1000;
constexpr long allowedGrowthBytes = 1024 * 1024;
constexpr int reportedViolations = 20;

// AddressSanitizer holds freed memory in quarantine (up to 256 MiB), so the
// resident size grows with every allocation there; only its leak check at exit
// says anything about leaks. Everywhere else the resident size must stay flat.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool residentSizeMeansAnything = false;
#else
constexpr bool residentSizeMeansAnything = true;
#endif

// The keys a player uses during play. Escape is left out: it ends the run.
constexpr uint8_t playKeys[] = {platform::DIK_LEFT, platform::DIK_RIGHT, platform::DIK_UP,
                                platform::DIK_DOWN, platform::DIK_L,     platform::DIK_RETURN,
                                platform::DIK_SPACE};

std::mt19937_64 dice;
platform::headless::Snapshot held;
int64_t endPictureReads = 0;
int64_t endPictureWait = 0;

// A player holds a set of keys for a while, then changes it.
void maybeChangeKeys() {
    if (dice() % 24 != 0) {
        return;
    }
    held.clear();
    for (uint8_t key : playKeys) {
        // Return and Space matter only on the end pictures; keep them rare.
        const bool rare = key == platform::DIK_RETURN || key == platform::DIK_SPACE;
        if (dice() % (rare ? 16 : 3) == 0) {
            held.push_back(key);
        }
    }
}

// An end picture reads the keyboard until Return is down. The player looks at
// it for a while (the picture opens meanwhile), then presses Return.
void onKeysUsedUp() {
    ++endPictureReads;
    if (endPictureReads >= endPictureWait) {
        platform::headless::setKeyScript({{platform::DIK_RETURN}}, onKeysUsedUp);
    }
}

long residentBytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) {
        return -1;
    }
    long pages = 0;
    long resident = 0;
    const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
    std::fclose(statm);
    return read == 2 ? resident * sysconf(_SC_PAGESIZE) : -1;
}

struct Options {
    int64_t steps = 1'000'000;
    uint64_t seed = 1;
};

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (i + 1 >= argc) {
            return false;
        }
        char* end = nullptr;
        const char* value = argv[++i];
        if (argument == "--steps") {
            options.steps = std::strtoll(value, &end, 10);
        } else if (argument == "--seed") {
            options.seed = std::strtoull(value, &end, 10);
        } else {
            return false;
        }
        if (end == value || *end != '\0') {
            return false;
        }
    }
    return options.steps > 0;
}

struct Tally {
    int64_t steps = 0;
    int64_t violations = 0;
    int64_t gamesEnded = 0;
    int64_t landings = 0;
    int32_t highestLevel = 0;
    int32_t mostRescued = 0;
};

void checkFields(int64_t step, Tally& tally) {
    for (const StateField& field : stateFields()) {
        const double value = readField(game, field);
        if (!std::isnan(value) && value >= field.lowest && value <= field.highest) {
            continue;
        }
        ++tally.violations;
        if (tally.violations <= reportedViolations) {
            std::printf("step %" PRId64 ": %s = %.17g, outside %.17g .. %.17g\n", step, field.name,
                        value, field.lowest, field.highest);
        }
    }
}

Tally tally;
int32_t wasLanded = 0;
long baseline = 0;
bool failed = false;

void beforeStep() {
    maybeChangeKeys();
    endPictureReads = 0;
    endPictureWait = 30 + static_cast<int64_t>(dice() % 300);
    // The first read of this step takes the held keys: the poll after
    // runGame, or the first pass of an end picture.
    platform::headless::setKeyScript({held}, onKeysUsedUp);
}

void afterStep(int result) {
    const int64_t step = ++tally.steps;
    if (result != 1) ++tally.gamesEnded;
    // The headless machine records every call; the soak does not need it.
    platform::headless::clearCalls();
    if (appWindow == nullptr) {
        std::printf("step %" PRId64 ": the window is gone\n", step);
        failed = true;
        return;
    }
    checkFields(step, tally);
    tally.landings += game.heliLanded != 0 && wasLanded == 0;
    wasLanded = game.heliLanded;
    tally.highestLevel = std::max(tally.highestLevel, game.level);
    tally.mostRescued = std::max(tally.mostRescued, game.rescuedCount);
    if (step == stepsBeforeBaseline) {
        baseline = residentBytes();
    }
}

// Hears the loop: each step gets its keys before it and is checked after it
// (with 0 once an end picture has been dismissed).
class SoakListener : public LoopListener {
  public:
    void heard(const LoopEvent& event) override {
        if (event.kind == LoopEventKind::stepBegins) beforeStep();
        if (event.kind == LoopEventKind::stepRan) afterStep(event.result);
        if (event.kind == LoopEventKind::endPictureDismissed) afterStep(0);
    }
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: kordavan-soak [--steps N] [--seed S]\n");
        return 2;
    }
    dice.seed(options.seed);

    platform::headless::use();
    platform::headless::setAutoAdvance(20'000);
    if (initApplication(platform::gameModule(), 1) == 0) {
        std::fprintf(stderr, "kordavan-soak: start-up failed: %s\n",
                     errorMessage != nullptr ? errorMessage : "(no message)");
        shutdownApp();
        return 3;
    }

    // The loop runs the game step by step; the listener gives each step its
    // keys before it and checks the state after it.
    SoakListener listener;
    beginLoop(LoopStart::game(), deviceControls(), {&listener});
    while (tally.steps < options.steps && !failed) {
        if (!runFrame()) {
            std::printf("step %" PRId64 ": the program ended\n", tally.steps);
            return 1;
        }
        // A game ended and its picture was dismissed: the next one starts at
        // once, without the title's loading sequence.
        if (loopPhase() == LoopPhase::Title) {
            beginLoop(LoopStart::game(), deviceControls(), {&listener});
        }
    }
    if (failed) return 1;
    const long finalResident = residentBytes();

    endProgram();
    platform::finish();

    std::printf("%" PRId64 " steps, seed %" PRIu64 ": %" PRId64 " games ended, %" PRId64
                " landings, highest level %d, most rescued %d, %" PRId64 " range violations\n",
                options.steps, options.seed, tally.gamesEnded, tally.landings, tally.highestLevel,
                tally.mostRescued, tally.violations);
    bool memoryFlat = true;
    if (options.steps >= stepsBeforeBaseline) {
        const long growth = finalResident - baseline;
        memoryFlat = !residentSizeMeansAnything ||
                     (baseline > 0 && finalResident > 0 && growth <= allowedGrowthBytes);
        std::printf("resident memory after %" PRId64
                    " steps %ld KiB, at the end %ld KiB (%+ld KiB)%s\n",
                    stepsBeforeBaseline, baseline / 1024, finalResident / 1024, growth / 1024,
                    !residentSizeMeansAnything ? " (not judged under AddressSanitizer)"
                    : memoryFlat               ? ""
                                               : ": grew by more than 1 MiB");
    }
    return tally.violations == 0 && memoryFlat ? 0 : 1;
}
