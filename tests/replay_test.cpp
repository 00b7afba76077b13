// Replays end to end on the headless machine: the recorder beside the real
// loop writes two games (one lost, one quit), kordavan-trace plays the file
// back and finds every recorded end as it was, and a replay changed by hand
// is caught at the step and field where it goes otherwise.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "game/random.h"
#include "platform/files.h"
#include "platform/headless.h"
#include "replay/recorder.h"
#include "tests/process_support.h"

namespace {

using platform::headless::Snapshot;

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

class ReplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kordavan-replay-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder);
        game = GameState{};
        randomState = 1;
    }

    // A lost game from a crash with the generator far along, its picture
    // dismissed, the title and loading, then a game flown left and quit.
    void recordTwoGames() {
        platform::headless::use();
        platform::headless::setAutoAdvance(20'000);
        appWindow = nullptr;
        ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
        game = GameState{};
        game.energy = -1;
        game.heliX = 300;
        randomState = 987'654'321u;
        std::vector<Snapshot> script(400, Snapshot{platform::DIK_LEFT, platform::DIK_UP});
        script.insert(script.end(), 3, Snapshot{platform::DIK_RETURN});
        script.push_back(Snapshot{platform::DIK_SPACE});
        script.insert(script.end(), 705, Snapshot{});
        script.insert(script.end(), 60, Snapshot{platform::DIK_LEFT});
        script.insert(script.end(), 20, Snapshot{platform::DIK_DOWN, platform::DIK_L});
        script.push_back(Snapshot{platform::DIK_ESCAPE});
        platform::headless::setKeyScript(std::move(script));
        std::string error;
        ReplayRecorder recorder;
        ASSERT_TRUE(recorder.start((folder / "two.replay").string(), error)) << error;
        runMainLoop(LoopStart::game(), deviceControls(), {&recorder});
        appWindow = nullptr;
        recorder.stop();
    }

    ProcessResult replay(const std::string& text) {
        const auto file = folder / "played.replay";
        std::ofstream(file, std::ios::binary) << text;
        return runProcess({KORDAVAN_TRACE_EXE, "--replay", file.string(), "--sounds"});
    }

    std::filesystem::path folder;
};

#ifdef KORDAVAN_TRACE_EXE

TEST_F(ReplayTest, RecordedGamesReplayHeadlessAsTheyWere) {
    recordTwoGames();
    const std::string text = readText(folder / "two.replay");
    const std::vector<std::string> recorded = lines(text);
    ASSERT_GT(recorded.size(), 90u);
    EXPECT_EQ(recorded[0], "kordavan-replay 1");
    EXPECT_NE(recorded[1].find("game random=987654321 scrollPos=0 "), std::string::npos);
    Replay parsed;
    std::string error;
    ASSERT_TRUE(parseReplay(text, parsed, error)) << error;
    ASSERT_EQ(parsed.games.size(), 2u);
    ASSERT_TRUE(parsed.games[0].end && parsed.games[1].end);
    EXPECT_EQ(parsed.games[0].end->ending, GameEnding::lost);
    EXPECT_EQ(parsed.games[1].end->ending, GameEnding::quit);
    // The loading passes are no steps: the second game starts with the
    // empty lines left over from them, then Left.
    EXPECT_EQ(parsed.games[1].steps.size(), 6u + 60u + 20u + 1u);

    const ProcessResult played = replay(text);
    EXPECT_EQ(played.exitCode, 0) << played.errors;
    const std::vector<std::string> trace = lines(played.output);
    // Every step of both games, and the lost game's line after its picture.
    const int64_t steps = parsed.games[0].end->steps + parsed.games[1].end->steps;
    ASSERT_EQ(static_cast<int64_t>(trace.size()), steps);
    EXPECT_EQ(trace.back().rfind("{\"step\":" + std::to_string(steps) + ",\"ret\":1,", 0), 0u);
    EXPECT_NE(trace[static_cast<size_t>(parsed.games[0].end->steps - 1)].find("\"ret\":0"),
              std::string::npos);
}

TEST_F(ReplayTest, AChangedReplayIsCaughtAtTheStepAndField) {
    recordTwoGames();
    const std::string text = readText(folder / "two.replay");
    Replay parsed;
    std::string error;
    ASSERT_TRUE(parseReplay(text, parsed, error)) << error;
    const int64_t steps = parsed.games[0].end->steps + parsed.games[1].end->steps;

    // One step of the second game flown right instead of left.
    std::string changed = text;
    const size_t secondGame = changed.find("\ngame ", changed.find("\nend ")) + 1;
    const size_t left = changed.find("\nLEFT\n", secondGame) + 1;
    changed.replace(left, 4, "RIGHT");
    ProcessResult played = replay(changed);
    EXPECT_EQ(played.exitCode, 1);
    EXPECT_EQ(
        played.errors.rfind("kordavan-trace: step " + std::to_string(steps) + ": scrollPos is ", 0),
        0u)
        << played.errors;

    // The lost game's recorded generator state one off: the lost game's end.
    changed = text;
    const size_t end = changed.find("\nend lost ");
    const size_t random = changed.find(" random=", end) + 8;
    changed.insert(random, "1");
    played = replay(changed);
    EXPECT_EQ(played.exitCode, 1);
    EXPECT_NE(
        played.errors.find("step " + std::to_string(parsed.games[0].end->steps) + ": random is "),
        std::string::npos)
        << played.errors;

    // Cut off inside a line: refused with that line's number.
    changed = text.substr(0, text.find("\nend lost ") + 5) + "lo\n";
    played = replay(changed);
    EXPECT_EQ(played.exitCode, 2);
    EXPECT_NE(played.errors.find(": line " + std::to_string(lines(changed).size()) +
                                 ": a game ends won, lost or quit"),
              std::string::npos)
        << played.errors;
}

TEST_F(ReplayTest, TheGamesAfterAQuitGameArePlayedAndCheckedToo) {
    recordTwoGames();
    const std::string text = readText(folder / "two.replay");
    Replay parsed;
    std::string error;
    ASSERT_TRUE(parseReplay(text, parsed, error)) << error;
    // The quit game first, then the lost one: each starts from its own line.
    const size_t firstGame = text.find("\ngame ") + 1;
    const size_t secondGame = text.find("\ngame ", firstGame) + 1;
    const std::string header = text.substr(0, firstGame);
    const std::string lost = text.substr(firstGame, secondGame - firstGame);
    const std::string quit = text.substr(secondGame);
    const int64_t steps = parsed.games[0].end->steps + parsed.games[1].end->steps;

    ProcessResult played = replay(header + quit + lost);
    EXPECT_EQ(played.exitCode, 0) << played.errors;
    EXPECT_EQ(static_cast<int64_t>(lines(played.output).size()), steps);

    // The game after the quit one is checked as well: its generator one off.
    std::string changedLost = lost;
    changedLost.insert(changedLost.find(" random=", changedLost.find("\nend lost ")) + 8, "1");
    played = replay(header + quit + changedLost);
    EXPECT_EQ(played.exitCode, 1);
    EXPECT_NE(played.errors.find("step " + std::to_string(steps) + ": random is "),
              std::string::npos)
        << played.errors;
}

TEST_F(ReplayTest, AReplayCutOffPlaysWhatItHolds) {
    recordTwoGames();
    const std::string text = readText(folder / "two.replay");
    // Killed during the second game: everything up to its tenth step.
    const size_t secondGame = text.find("\ngame ", text.find("\nend ")) + 1;
    size_t cut = secondGame;
    for (int line = 0; line < 11; ++line) cut = text.find('\n', cut) + 1;
    const ProcessResult played = replay(text.substr(0, cut));
    EXPECT_EQ(played.exitCode, 0) << played.errors;
    Replay parsed;
    std::string error;
    ASSERT_TRUE(parseReplay(text, parsed, error));
    EXPECT_EQ(static_cast<int64_t>(lines(played.output).size()), parsed.games[0].end->steps + 10);
}

#endif

int stepsSeen = 0;
std::filesystem::path recordedPath;

// Another game starting to record to the same name.
bool startRecordingElsewhere(const std::filesystem::path& path, std::string& reason) {
    platform::GrowingFile* file = platform::startFile(path, reason);
    platform::closeFile(file);
    return file != nullptr;
}

// After the tenth step the disk is full: the replay's descriptor now writes
// to /dev/full.
void fillTheDiskAfterTenSteps() {
    if (++stepsSeen != 10) return;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) != recordedPath) continue;
        const int full = ::open("/dev/full", O_WRONLY);
        ::dup2(full, std::stoi(entry.path().filename().string()));
        ::close(full);
    }
}

TEST_F(ReplayTest, AFullDiskEndsTheRecordingNotTheGame) {
    platform::headless::use();
    platform::headless::setAutoAdvance(20'000);
    appWindow = nullptr;
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    game = GameState{};
    std::vector<Snapshot> script(40, Snapshot{platform::DIK_LEFT});
    script.push_back(Snapshot{platform::DIK_ESCAPE});
    platform::headless::setKeyScript(std::move(script));
    recordedPath = folder / "full.replay";
    stepsSeen = 0;
    std::string error;
    ReplayRecorder recorder;
    ASSERT_TRUE(recorder.start(recordedPath.string(), error)) << error;
    // Heard after the recorder has written the step.
    class DiskFiller : public LoopListener {
      public:
        void heard(const LoopEvent& event) override {
            if (event.kind == LoopEventKind::stepRan) fillTheDiskAfterTenSteps();
        }
    };
    DiskFiller filler;
    testing::internal::CaptureStderr();
    runMainLoop(LoopStart::game(), deviceControls(), {&recorder, &filler});
    const std::string errors = testing::internal::GetCapturedStderr();
    appWindow = nullptr;
    EXPECT_EQ(stepsSeen, 41) << "the game went on to Escape";
    EXPECT_FALSE(recorder.recording());
    EXPECT_EQ(errors, "kordavan: cannot write the replay " + recordedPath.string() +
                          ": No space left on device; recording stops (the file holds every "
                          "step until now), the game goes on\n");
    recorder.stop();
    // What was written before is a replay of the first ten steps.
    Replay parsed;
    ASSERT_TRUE(parseReplay(readText(recordedPath), parsed, error)) << error;
    EXPECT_EQ(parsed.games[0].steps.size(), 10u);
    EXPECT_FALSE(parsed.games[0].end);
}

TEST_F(ReplayTest, AFileThatCannotBeWrittenIsSaidAtOnce) {
    std::string error;
    ReplayRecorder recorder;
    EXPECT_FALSE(recorder.start((folder / "no-such-folder" / "x.replay").string(), error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    // A pipe nobody reads would hold the game before its window opens.
    const auto pipe = folder / "pipe.replay";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(recorder.start(pipe.string(), error));
    EXPECT_NE(error.find("a pipe nobody reads"), std::string::npos) << error;
    EXPECT_FALSE(recorder.recording());
}

TEST_F(ReplayTest, ARecordingNeverEmptiesAFileAlreadyThere) {
    // A document, an earlier replay, a device that swallows everything.
    const auto earlier = folder / "earlier.replay";
    std::ofstream(earlier, std::ios::binary) << "kordavan-replay 1\ngame ...\n";
    std::string error;
    ReplayRecorder recorder;
    EXPECT_FALSE(recorder.start(earlier.string(), error));
    EXPECT_EQ(error, "cannot create the replay " + earlier.string() +
                         ": a file of that name is there already");
    EXPECT_EQ(readText(earlier), "kordavan-replay 1\ngame ...\n");
    EXPECT_FALSE(recorder.start("/dev/full", error));
    EXPECT_NE(error.find("a file of that name is there already"), std::string::npos) << error;
    EXPECT_FALSE(recorder.recording());
}

TEST_F(ReplayTest, NothingIsWrittenBeforeAGameAndNoGameLeavesNoFile) {
    const auto file = folder / "title-only.replay";
    std::string error;
    ReplayRecorder recorder;
    ASSERT_TRUE(recorder.start(file.string(), error)) << error;
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
    // A second game recording to the same file is refused.
    std::string second;
    EXPECT_FALSE(startRecordingElsewhere(file, second));
    recorder.stop();
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ReplayTest, ARecordingHoldsAGameFromItsFirstWrite) {
    recordTwoGames();
    const std::string text = readText(folder / "two.replay");
    EXPECT_EQ(text.rfind(replayHeaderLine() + "game ", 0), 0u);
}

// A pipe's reader that opened it and reads no more: the game must not wait.
TEST_F(ReplayTest, APipeWhoseReaderStopsReadingEndsTheRecordingNotTheGame) {
    const auto pipe = folder / "pipe.replay";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    // The smallest pipe the system gives: a few hundred steps fill it.
    ::fcntl(reader, F_SETPIPE_SZ, 4096);
    platform::headless::use();
    platform::headless::setAutoAdvance(20'000);
    appWindow = nullptr;
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    game = GameState{};
    std::vector<Snapshot> script(3000, Snapshot{platform::DIK_LEFT});
    script.push_back(Snapshot{platform::DIK_ESCAPE});
    platform::headless::setKeyScript(std::move(script));
    stepsSeen = 0;
    std::string error;
    ReplayRecorder recorder;
    ASSERT_TRUE(recorder.start(pipe.string(), error)) << error;
    class StepCounter : public LoopListener {
      public:
        void heard(const LoopEvent& event) override {
            if (event.kind == LoopEventKind::stepRan) ++stepsSeen;
        }
    };
    StepCounter counter;
    testing::internal::CaptureStderr();
    runMainLoop(LoopStart::game(), deviceControls(), {&recorder, &counter});
    const std::string errors = testing::internal::GetCapturedStderr();
    appWindow = nullptr;
    EXPECT_EQ(stepsSeen, 3001) << "the game went on to Escape";
    EXPECT_FALSE(recorder.recording());
    EXPECT_EQ(errors, "kordavan: cannot write the replay " + pipe.string() +
                          ": its reader does not keep up; recording stops (the file holds every "
                          "step until now), the game goes on\n");
    recorder.stop();
    ::close(reader);
}

#ifdef KORDAVAN_TRACE_EXE

TEST_F(ReplayTest, AGameEndedEarlierThanRecordedSaysHowManyStepsWereLeft) {
    recordTwoGames();
    const std::string text = readText(folder / "two.replay");
    // The lost game without its end, and ten steps more.
    std::string changed = text.substr(0, text.find("\nend lost ") + 1);
    for (int i = 0; i < 10; ++i) changed += "LEFT UP\n";
    const ProcessResult played = replay(changed);
    EXPECT_EQ(played.exitCode, 1);
    EXPECT_NE(
        played.errors.find("the game ended lost, but the replay recorded 10 more steps of it"),
        std::string::npos)
        << played.errors;
}

TEST_F(ReplayTest, ACutReplayIsPlayedAndSaidToBeCut) {
    recordTwoGames();
    const std::string text = readText(folder / "two.replay");
    // Cut right after the second game's line: the first game plays whole.
    const size_t secondGame = text.find("\ngame ", text.find("\nend ")) + 1;
    const ProcessResult played = replay(text.substr(0, text.find('\n', secondGame) + 1));
    EXPECT_EQ(played.exitCode, 0) << played.errors;
    EXPECT_NE(played.errors.find("begins a game and nothing follows: the recording was cut off"),
              std::string::npos)
        << played.errors;
    // Cut inside a line of controls.
    const ProcessResult inside = replay(text.substr(0, text.find("\nLEFT\n", secondGame) + 3));
    EXPECT_EQ(inside.exitCode, 0) << inside.errors;
    EXPECT_NE(inside.errors.find("is cut short (no line end)"), std::string::npos) << inside.errors;
}

TEST_F(ReplayTest, AQuitGameWhoseEndLineWasLostIsCutNotOtherwise) {
    recordTwoGames();
    const std::string text = readText(folder / "two.replay");
    // The disk filled after the ESCAPE line of the quit game.
    const ProcessResult played = replay(text.substr(0, text.rfind("end quit ")));
    EXPECT_EQ(played.exitCode, 0) << played.errors;
    EXPECT_NE(played.errors.find("the last game has no end line: the recording was cut off"),
              std::string::npos)
        << played.errors;
    EXPECT_EQ(played.errors.find("more step"), std::string::npos) << played.errors;
}

TEST_F(ReplayTest, TheTraceToolRefusesAPipeAndSaysWhyAFileIsMissing) {
    const auto pipe = folder / "pipe.replay";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ProcessResult played = runProcess({KORDAVAN_TRACE_EXE, "--replay", pipe.string()});
    EXPECT_EQ(played.exitCode, 1);
    EXPECT_NE(played.errors.find("not a regular file"), std::string::npos) << played.errors;
    played = runProcess({KORDAVAN_TRACE_EXE, "--replay", (folder / "none.replay").string()});
    EXPECT_EQ(played.exitCode, 1);
    EXPECT_NE(played.errors.find("No such file or directory"), std::string::npos) << played.errors;
}

#endif

}  // namespace
