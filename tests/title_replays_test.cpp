// Replays watched from the title on the headless machine: a file dropped
// onto the window (or picked on the settings screen) plays game after game
// as recorded, and the title comes back waiting for Space; Escape stops a
// replay without ending the program, and the Escape still held does not
// quit the title; a closed window ends it all; a file that is no replay is
// named with its line while the title goes on where it was.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "app/title_and_replays.h"
#include "game/game_state.h"
#include "game/random.h"
#include "platform/headless.h"
#include "platform/warnings.h"
#include "replay/player.h"
#include "replay/recorder.h"
#include "shell/replay_choice.h"

namespace {

using platform::headless::Snapshot;

// Counts what a loop tells.
class Counter : public LoopListener {
  public:
    void heard(const LoopEvent& event) override {
        if (event.kind == LoopEventKind::stepBegins) ++steps;
        if (event.kind == LoopEventKind::titlePassShown) ++titlePasses;
        if (event.kind == LoopEventKind::loopEnded) ++loopsEnded;
    }
    int steps = 0;
    int titlePasses = 0;
    int loopsEnded = 0;
};

class TitleReplaysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kordavan-title-replays-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        platform::collectWarnings({});
        platform::headless::use();
        platform::headless::setAutoAdvance(20'000);
        appWindow = nullptr;
        ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    }
    void TearDown() override {
        endProgram();
        appWindow = nullptr;
        takeChosenReplay();
        platform::writeWarnings();
        std::filesystem::remove_all(folder);
        game = GameState{};
        randomState = 1;
    }

    // A game flown left for `steps` steps and quit, recorded into `name`.
    std::string recordAGame(const std::string& name, int steps) {
        const std::string path = (folder / name).string();
        std::string error;
        ReplayRecorder recorder;
        EXPECT_TRUE(recorder.start(path, error)) << error;
        std::vector<Snapshot> script(static_cast<size_t>(steps), Snapshot{platform::DIK_LEFT});
        script.push_back(Snapshot{platform::DIK_ESCAPE});
        platform::headless::setKeyScript(std::move(script));
        runLoop(LoopStart::game(), deviceControls(), {&recorder});
        recorder.stop();
        game = GameState{};
        randomState = 1;
        platform::headless::setKeys({});
        return path;
    }

    void beginTheTitle() {
        TitleShow cast;
        cast.hands = &deviceControls();
        cast.titleListeners = {&title};
        cast.replayListeners = {&replay};
        beginShow(std::move(cast));
    }

    // The show from a replay asked for at start, whose games `opening` hears.
    void beginWith(const std::string& file, Counter& opening) {
        Replay read;
        std::string error;
        ASSERT_EQ(readReplay(file, read, error), ReplayRead::read) << error;
        TitleShow cast;
        cast.hands = &deviceControls();
        cast.titleListeners = {&title};
        cast.replayListeners = {&replay};
        cast.opening = std::move(read);
        cast.openingListeners = {&opening};
        beginShow(std::move(cast));
    }

    // Frames until `until` holds (true) or the program ends (false).
    bool framesUntil(const std::function<bool()>& until, int most = 20'000) {
        for (int frame = 0; frame < most; ++frame) {
            if (until()) return true;
            if (!titleOrReplayFrame()) return false;
            waitForNextFrame();
        }
        ADD_FAILURE() << "still waiting after " << most << " frames";
        return false;
    }
    bool frames(int count) {
        int left = count;
        return framesUntil([&] { return left-- == 0; });
    }

    std::filesystem::path folder;
    Counter title;
    Counter replay;
};

TEST_F(TitleReplaysTest, ADroppedReplayPlaysFromTheTitleAndTheTitleComesBack) {
    const std::string file = recordAGame("dropped.replay", 30);
    beginTheTitle();
    ASSERT_TRUE(frames(10));
    platform::headless::dropFile(file);
    const int passesBefore = title.titlePasses;
    ASSERT_TRUE(framesUntil([&] { return title.titlePasses > passesBefore; }));
    // Every recorded step, the Escape that ended the game among them.
    EXPECT_EQ(replay.steps, 31);
    EXPECT_EQ(title.steps, 0);
    EXPECT_EQ(loopPhase(), LoopPhase::Title);
    EXPECT_EQ(platform::keptWarnings(), "") << "the replay went as recorded";
    // The title waits for Space as ever, and Escape there ends the program.
    ASSERT_TRUE(frames(20));
    EXPECT_EQ(replay.steps, 31);
    platform::headless::setKeys({platform::DIK_ESCAPE});
    EXPECT_FALSE(frames(20));
}

TEST_F(TitleReplaysTest, EscapeStopsAChosenReplayAndOnlyAFreshEscapeQuitsTheTitle) {
    const std::string file = recordAGame("long.replay", 2'000);
    beginTheTitle();
    chooseReplay(file);
    ASSERT_TRUE(framesUntil([&] { return replay.steps >= 20; }));
    platform::headless::setKeys({platform::DIK_ESCAPE});
    const int passesBefore = title.titlePasses;
    ASSERT_TRUE(framesUntil([&] { return title.titlePasses > passesBefore; }));
    EXPECT_LT(replay.steps, 100);
    // Escape is still down from stopping the replay: the title stays.
    ASSERT_TRUE(frames(30));
    EXPECT_EQ(loopPhase(), LoopPhase::Title);
    platform::headless::setKeys({});
    ASSERT_TRUE(frames(2));
    platform::headless::setKeys({platform::DIK_ESCAPE});
    EXPECT_FALSE(frames(20));
}

TEST_F(TitleReplaysTest, AReplayDroppedDuringTheBriefingLeavesTheGameStartedAlone) {
    const std::string file = recordAGame("briefing.replay", 30);
    beginTheTitle();
    ASSERT_TRUE(frames(10));
    platform::headless::setKeys({platform::DIK_SPACE});
    ASSERT_TRUE(frames(3));
    platform::headless::setKeys({});
    ASSERT_TRUE(frames(50));
    ASSERT_EQ(loopPhase(), LoopPhase::Title) << "the briefing runs";
    platform::headless::dropFile(file);
    ASSERT_TRUE(framesUntil([&] { return title.steps >= 20 || replay.steps > 0; }));
    EXPECT_EQ(replay.steps, 0);
    EXPECT_EQ(loopPhase(), LoopPhase::Game);
    EXPECT_EQ(title.loopsEnded, 0);
}

TEST_F(TitleReplaysTest, AWindowClosedDuringAReplayEndsTheProgram) {
    const std::string file = recordAGame("closed.replay", 2'000);
    beginTheTitle();
    platform::headless::dropFile(file);
    ASSERT_TRUE(framesUntil([&] { return replay.steps >= 20; }));
    platform::headless::postSystemMessage(platform::MessageKind::Close);
    EXPECT_FALSE(frames(20));
}

TEST_F(TitleReplaysTest, AFileThatIsNoReplayIsNamedWithItsLineAndTheTitleGoesOn) {
    const std::string bad = (folder / "notes.replay").string();
    std::ofstream(bad) << "kordavan-replay 1\nthis is no game\n";
    beginTheTitle();
    ASSERT_TRUE(frames(10));
    platform::headless::dropFile(bad);
    ASSERT_TRUE(frames(10));
    const std::string told = platform::keptWarnings();
    EXPECT_EQ(told.rfind("kordavan: " + bad + ": line 2: ", 0), 0u) << told;
    EXPECT_EQ(told.find('\n'), told.size() - 1) << "one line";
    chooseReplay(folder / "missing.replay");
    ASSERT_TRUE(frames(10));
    EXPECT_NE(platform::keptWarnings().find("missing.replay: cannot be read: "), std::string::npos)
        << platform::keptWarnings();
    // The same title all along: its loop never ended, and no game began.
    EXPECT_EQ(title.loopsEnded, 0);
    EXPECT_GE(title.titlePasses, 25);
    EXPECT_EQ(replay.steps + title.steps, 0);
}

// A dropped file's name cannot forge a second line nor steer the terminal
// (nor hold a control character on Windows).
#ifndef _WIN32
TEST_F(TitleReplaysTest, ADroppedFileIsNamedEscapedInOneLine) {
    const std::string bad = (folder / "a\nkordavan: fine\x1b[31m.replay").string();
    std::ofstream(bad) << "no replay\n";
    beginTheTitle();
    ASSERT_TRUE(frames(10));
    platform::headless::dropFile(bad);
    ASSERT_TRUE(frames(10));
    const std::string told = platform::keptWarnings();
    EXPECT_NE(told.find("a\\x0akordavan: fine\\x1b[31m.replay: line 1: "), std::string::npos)
        << told;
    EXPECT_EQ(told.find('\n'), told.size() - 1) << "one line";
}
#endif

// A replay asked for at start plays before the title, heard by its own
// listeners; then the title waits for Space as ever.
TEST_F(TitleReplaysTest, AReplayAskedForAtStartPlaysBeforeTheTitle) {
    const std::string file = recordAGame("start.replay", 30);
    Counter opening;
    beginWith(file, opening);
    ASSERT_TRUE(framesUntil([&] { return title.titlePasses > 0; }));
    EXPECT_EQ(opening.steps, 31);
    EXPECT_EQ(replay.steps + title.steps, 0);
    EXPECT_EQ(platform::keptWarnings(), "") << "the replay went as recorded";
    ASSERT_TRUE(frames(20));
    EXPECT_EQ(loopPhase(), LoopPhase::Title);
    platform::headless::setKeys({platform::DIK_ESCAPE});
    EXPECT_FALSE(frames(20));
}

// Unlike a replay watched from the title, the one asked for at start is the
// program's show: Escape in it ends the program.
TEST_F(TitleReplaysTest, EscapeInAReplayAskedForAtStartEndsTheProgram) {
    const std::string file = recordAGame("long-start.replay", 2'000);
    Counter opening;
    beginWith(file, opening);
    ASSERT_TRUE(framesUntil([&] { return opening.steps >= 20; }));
    platform::headless::setKeys({platform::DIK_ESCAPE});
    EXPECT_FALSE(frames(20));
    EXPECT_EQ(title.titlePasses, 0);
}

}  // namespace
