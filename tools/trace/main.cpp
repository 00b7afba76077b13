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
// another, each from the state its game line gives (a game quit with Escape
// is followed by the next one as any other), and at each game's end the
// state is checked against the one recorded.
//
// Exit codes: 0 done; 1 start-up failed, or the key script or replay could
// not be read or the trace or a frame not written, or the replay went
// otherwise than recorded; 2 bad arguments, key script or replay file; 3 an
// end picture waits for Return but the key script is used up (or the title
// waits for Space for ever).

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/devices.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "gfx/surfaces.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/printable.h"
#include "replay/player.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"
#include "tools/trace/script_source.h"
#include "tools/trace/trace_input.h"
#include "tools/trace/trace_io.h"
#include "tools/trace/trace_output.h"

namespace {

// Every read of the performance counter moves the clock past the next step's
// time, so the main loop never spins waiting.
constexpr int64_t microsecondsPerClockRead = 20'000;

TraceOptions options;
std::vector<DrawRecord> draws;
std::vector<SoundRecord> sounds;

void recordDraw(const Surface* source, const Rect& sourceRect, int x, int y) {
    draws.push_back({surfaceName(source), sourceRect, x, y});
}

void recordSound(bool play, const platform::SoundBuffer* buffer, uint32_t flags) {
    sounds.push_back({play, soundName(buffer), flags});
}

// The trace itself: a line after every step, the screen as a frame when asked.
// A line that could not be written, or a frame, ends the run.
class TraceWriter : public LoopListener {
  public:
    void heard(const LoopEvent& event) override {
        if (failed()) return;
        switch (event.kind) {
            case LoopEventKind::stepBegins:
                ++stepNumber;
                draws.clear();
                sounds.clear();
                break;
            case LoopEventKind::stepRan:
                writeStep(event.result);
                break;
            case LoopEventKind::endPictureDismissed:
                // The step that showed the picture, told once Return came.
                writeStep(0);
                break;
            case LoopEventKind::titlePassShown:
                writeFrame("title", ++titlePass);
                break;
            default:
                break;
        }
    }
    bool failed() const { return !lineError.empty() || !frameError.empty(); }

    std::string lineError;   // nothing more can reach the reader
    std::string frameError;  // the trace so far is still good

  private:
    void writeStep(int result) {
        const std::string line =
            stepJson(stepNumber, result, game, options.draws ? &draws : nullptr,
                     options.sounds ? &sounds : nullptr);
        if (!writeTraceLine(line, lineError)) return;
        writeFrame("step", stepNumber);
    }
    void writeFrame(const char* kind, int64_t number) {
        if (options.framesDir.empty() || number < options.framesFrom.value_or(0)) {
            return;
        }
        char name[40];
        std::snprintf(name, sizeof name, "%s-%06lld.bmp", kind, static_cast<long long>(number));
        const std::filesystem::path path = std::filesystem::path(options.framesDir) / name;
        writeScreenBmp(path.string(), platform::headless::screen(), frameError);
    }

    int64_t stepNumber = 0;
    int64_t titlePass = 0;
};

// A source that also ends once the trace can no longer be written.
class WhileTraceWrites : public ControlSource {
  public:
    WhileTraceWrites(ControlSource& inner, const TraceWriter& writer)
        : inner(inner), writer(writer) {}
    Controls poll(LoopPhase phase, bool paused) override { return inner.poll(phase, paused); }
    void heard(const LoopEvent& event) override { inner.heard(event); }
    bool done() const override { return writer.failed() || inner.done(); }

  private:
    ControlSource& inner;
    const TraceWriter& writer;
};

// Ends the run. A trace that could not be written wholly ends it with exit 1
// and says so, whatever else ended it.
int stopWith(const std::string& message, int exitCode) {
    std::string error;
    const bool written = finishTraceOutput(error);
    std::cerr << message;
    if (!written) {
        std::cerr << "kordavan-trace: " << error << "\n";
        return 1;
    }
    return exitCode;
}

// Exit code 0 when read; else the message is out and the code is 1 (cannot
// read) or 2 (not a replay).
int readReplayFile(const std::string& path, Replay& replay) {
    std::string error;
    switch (readReplay(path, replay, error)) {
        case ReplayRead::read:
            if (!replay.cut.empty()) {
                std::cerr << "kordavan-trace: " << quotedInput(path, 300) << ": " << replay.cut
                          << "\n";
            }
            return 0;
        case ReplayRead::cannotRead:
            std::cerr << "kordavan-trace: cannot read the replay " << quotedInput(path, 300) << ": "
                      << error << "\n";
            return 1;
        case ReplayRead::notAReplay:
            break;
    }
    std::cerr << "kordavan-trace: " << quotedInput(path, 300) << ": " << error << "\n";
    return 2;
}

// Every game of the replay, one run of the loop each, until one goes
// otherwise than recorded. The message for a replay that did.
std::string playEveryGame(Replay replay, TraceWriter& writer) {
    ReplayPlayer player(std::move(replay), nullptr);
    WhileTraceWrites source(player, writer);
    while (const auto start = player.nextGame()) {
        runLoop(LoopStart::game(*start), source, {&writer});
        if (writer.failed()) return {};
    }
    if (const auto& divergence = player.divergence()) {
        return "kordavan-trace: step " + std::to_string(divergence->step) + ": " +
               divergence->what + "\n";
    }
    return {};
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
    setDrawObserver(recordDraw);
    setSoundObserver(recordSound);

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
    TraceWriter writer;
    std::string message;
    int exitCode = 0;
    if (replaying) {
        message = playEveryGame(std::move(replay), writer);
        exitCode = message.empty() ? 0 : 1;
    } else {
        // The title leaves the game's record alone, so the fields are set
        // here even for a run from the title.
        for (const FieldSetting& setting : options.settings) {
            writeField(game, *setting.field, setting.value);
        }
        KeyScriptSource keyScript(std::move(script), options.steps);
        WhileTraceWrites source(keyScript, writer);
        runLoop(options.fromTitle ? LoopStart::title() : LoopStart::game(), source, {&writer});
        message = keyScript.message();
        exitCode = keyScript.exitCode();
    }
    endProgram();
    platform::finish();
    if (!writer.lineError.empty()) {
        // Nothing more can reach the reader: one message, and no flush.
        std::cerr << "kordavan-trace: " << writer.lineError << "\n";
        return 1;
    }
    if (!writer.frameError.empty())
        return stopWith("kordavan-trace: " + writer.frameError + "\n", 1);
    return stopWith(message, exitCode);
}
