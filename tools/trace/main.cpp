// kordavan-trace: the real start-up and main loop on the headless machine,
// fed from a key script, printing the game state after every game step.
//
//   kordavan-trace [--steps N] [--set FIELD=VALUE]... [--draws] [--sounds]
//                  [--frames DIR [--frames-from N]] [--from-title] < keys
//   kordavan-trace --replay FILE [--draws] [--sounds] [--frames DIR]
//
// --frames writes the picture on the screen after every game step as
// step-NNNNNN.bmp, and after every pass of the title as title-NNNNNN.bmp;
// --frames-from N leaves out the steps and title passes before the Nth.
//
// A replay file stands in for the key script: its games are played one after
// another, each from the state its game line gives, and at each game's end
// the state is checked against the one recorded.
//
// Exit codes: 0 done; 1 start-up failed, or the key script or replay could
// not be read or the trace or a frame not written, or the replay went
// otherwise than recorded; 2 bad arguments, key script or replay file; 3 an
// end picture waits for Return but the key script is used up (or the title
// waits for Space for ever).

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/replay.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "gfx/surfaces.h"
#include "platform/files.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"
#include "tools/printable.h"
#include "tools/trace/trace_input.h"
#include "tools/trace/trace_io.h"
#include "tools/trace/trace_output.h"

namespace {

// Every read of the performance counter moves the clock past the next step's
// time, so the main loop never spins waiting.
constexpr int64_t microsecondsPerClockRead = 20'000;
// The loading sequence lasts 700 passes; a title still running after more
// passes than that with no keys left waits for Space that will never come.
constexpr int64_t titlePassesWithoutKeys = 702;

TraceOptions options;
std::vector<DrawRecord> draws;
std::vector<SoundRecord> sounds;
int64_t stepNumber = 0;
bool inStep = false;
int64_t exhaustedReadsInTitle = 0;
bool stopping = false;
// Whether the next frame runs in the title, the title passes shown so far and
// the flips seen after the last frame.
bool inTitle = false;
int64_t titlePass = 0;
int flipsSeen = 0;

void recordDraw(const Surface* source, const Rect& sourceRect, int x, int y) {
    draws.push_back({surfaceName(source), sourceRect, x, y});
}

void recordSound(bool play, const platform::SoundBuffer* buffer, uint32_t flags) {
    sounds.push_back({play, soundName(buffer), flags});
}

// Ends the run. A trace that could not be written wholly ends it with exit 1
// and says so, whatever else ended it.
[[noreturn]] void stopWith(const std::string& message, int exitCode) {
    std::string error;
    const bool written = finishTraceOutput(error);
    std::cerr << message;
    if (!written) {
        std::cerr << "kordavan-trace: " << error << "\n";
        std::exit(1);
    }
    std::exit(exitCode);
}

// A read that finds the key script used up. In a step it is the poll after
// runGame, and the step's line tells the rest; but an end picture would wait
// for Return for ever.
void onScriptExhausted() {
    const LoopPhase phase = loopPhase();
    if (phase == LoopPhase::WinPicture || phase == LoopPhase::FailurePicture) {
        stopWith("kordavan-trace: an end picture waits for Return, but the key script is used up\n",
                 3);
    }
    if (inStep || stopping) {
        return;
    }
    if (!options.steps) {
        // The input ended during the title: nothing more to trace.
        stopWith("", 0);
    }
    ++exhaustedReadsInTitle;
    if (exhaustedReadsInTitle > titlePassesWithoutKeys) {
        stopWith("kordavan-trace: the title waits for Space, but the key script is used up\n", 3);
    }
}

void beforeStep() {
    playBeforeStep();
    if (stepNumber == 0) {
        for (const FieldSetting& setting : options.settings) {
            writeField(game, *setting.field, setting.value);
        }
    }
    ++stepNumber;
    inStep = true;
    draws.clear();
    sounds.clear();
}

void writeFrame(const char* kind, int64_t number) {
    if (options.framesDir.empty() || number < options.framesFrom.value_or(0)) {
        return;
    }
    char name[40];
    std::snprintf(name, sizeof name, "%s-%06lld.bmp", kind, static_cast<long long>(number));
    const std::filesystem::path path = std::filesystem::path(options.framesDir) / name;
    std::string error;
    if (!writeScreenBmp(path.string(), platform::headless::screen(), error)) {
        stopWith("kordavan-trace: " + error + "\n", 1);
    }
}

void afterStep(int result) {
    inStep = false;
    const std::string line = stepJson(stepNumber, result, game, options.draws ? &draws : nullptr,
                                      options.sounds ? &sounds : nullptr);
    std::string error;
    if (!writeTraceLine(line, error)) {
        // Nothing more can reach the reader: one message, and no flush.
        std::cerr << "kordavan-trace: " << error << "\n";
        std::exit(1);
    }
    writeFrame("step", stepNumber);
    if (!options.replayFile.empty()) {
        // The replay's own end (or its recorded Escape) stops the loop.
        playAfterStep(result);
        return;
    }
    // Escape after a step ends the loop through the controls.
    const bool escaped = result == 1 && currentControls().quit;
    const bool enough = options.steps ? stepNumber >= *options.steps
                                      : platform::headless::keyScriptRemaining() == 0;
    if (escaped || result == 0 || enough) {
        stopping = true;
        endLoop();
    }
}

void replayDiverged(int64_t step, const std::string& what) {
    stopWith("kordavan-trace: step " + std::to_string(step) + ": " + what + "\n", 1);
}

void replayFinished() {
    stopping = true;
    endLoop();
}

// Exit code 0 when read; else the message is out and the code is 1 (cannot
// read) or 2 (not a replay).
int readReplayFile(const std::string& path, Replay& replay) {
    // Through the game's own reader: a pipe or a device is refused unopened
    // and the text takes no more memory than the file.
    const platform::FileText file = platform::readFile(path, largestReplay);
    if (file.status != platform::FileStatus::read) {
        std::cerr << "kordavan-trace: cannot read the replay " << quotedInput(path, 300) << ": "
                  << file.reason << "\n";
        return 1;
    }
    std::string error;
    if (parseReplay(file.text, replay, error)) {
        if (!replay.cut.empty())
            std::cerr << "kordavan-trace: " << quotedInput(path, 300) << ": " << replay.cut << "\n";
        return 0;
    }
    std::cerr << "kordavan-trace: " << quotedInput(path, 300) << ": " << error << "\n";
    return 2;
}

// A frame of the title that was shown (not one that found nothing due)
// is a pass of the title.
void afterFrame() {
    const int flips = platform::headless::flipCount();
    if (inTitle && flips != flipsSeen) {
        writeFrame("title", ++titlePass);
    }
    flipsSeen = flips;
    inTitle = loopPhase() == LoopPhase::Title;
}

int fail(const std::string& message) {
    std::cerr << "kordavan-trace: " << message << "\n" << usageText();
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    if (!parseOptions(arguments, options, error)) {
        return fail(error);
    }
    const bool replaying = !options.replayFile.empty();
    std::string input;
    if (!prepareStandardOutput(error) || (!replaying && !readStandardInput(input, error))) {
        std::cerr << "kordavan-trace: " << error << "\n";
        return 1;
    }
    std::vector<platform::headless::Snapshot> script;
    std::istringstream keys(std::move(input));
    if (!readKeyScript(keys, script, error)) {
        std::cerr << "kordavan-trace: " << error << "\n";
        return 2;
    }
    Replay replay;
    if (replaying) {
        if (const int code = readReplayFile(options.replayFile, replay); code != 0) {
            return code;
        }
    }
    if (!options.framesDir.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(options.framesDir, ignored);
        if (!std::filesystem::is_directory(options.framesDir)) {
            return fail("cannot make the frames folder " + quotedInput(options.framesDir, 300));
        }
    }

    platform::headless::use();
    platform::headless::setAutoAdvance(microsecondsPerClockRead);
    if (replaying) {
        startPlaying(std::move(replay), {replayDiverged, replayFinished}, false);
        setPollHook(playPoll);
    } else {
        platform::headless::setKeyScript(std::move(script), onScriptExhausted);
    }
    setDrawObserver(recordDraw);
    setSoundObserver(recordSound);
    setLoopObserver({beforeStep, afterStep, afterFrame});

    if (initApplication(platform::gameModule(), 1) == 0) {
        const std::string reason = errorMessage != nullptr ? errorMessage : "start-up failed";
        shutdownApp();
        std::cerr << "kordavan-trace: " << reason << "\n";
        return 1;
    }
    if (options.steps && *options.steps == 0) {
        endProgram();
        platform::finish();
        return 0;
    }
    inTitle = options.fromTitle;
    flipsSeen = platform::headless::flipCount();
    runMainLoop(!options.fromTitle);
    platform::finish();
    stopWith("", 0);
}
