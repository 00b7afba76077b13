// A run in the player's hands on the headless machine, set up as the desktop
// and the page set it up: the screenshot key saves the frame on screen once
// each time it goes down, and a replay asked for at start goes into
// --record's file as it plays, before the title comes.

#include "app/player_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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
#include "shell/key_bindings.h"

namespace {

namespace fs = std::filesystem;
using platform::headless::Snapshot;

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class PlayerRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("kordavan-player-run-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        platform::collectWarnings({});
        platform::headless::use();
        platform::headless::setAutoAdvance(20'000);
        appWindow = nullptr;
    }
    void TearDown() override {
        platform::writeWarnings();
        useKeyBindings(defaultKeyBindings());
        fs::remove_all(folder);
        game = GameState{};
        randomState = 1;
    }

    // The program from start to end with these options and keys, one
    // snapshot a poll; the window is closed should the keys run out.
    int play(const Options& options, std::vector<Snapshot> script) {
        EXPECT_TRUE(setUpRun(options, SettingsFile{folder / "kordavan.conf", ""}));
        platform::headless::setKeyScript(std::move(script), [] {
            platform::headless::postSystemMessage(platform::MessageKind::Close);
        });
        EXPECT_TRUE(startProgram(platform::gameModule(), 1));
        beginRun(nullptr, {});
        while (titleOrReplayFrame()) waitForNextFrame();
        const int code = endProgram();
        finishRun();
        appWindow = nullptr;
        return code;
    }

    fs::path folder;
};

#ifndef _WIN32
TEST_F(PlayerRunTest, TheScreenshotKeySavesOnePictureEachTimeItGoesDown) {
    std::vector<Snapshot> script(5);
    script.insert(script.end(), 10, Snapshot{platform::DIK_F12});
    script.insert(script.end(), 5, Snapshot{});
    script.insert(script.end(), 3, Snapshot{platform::DIK_F12});
    script.push_back(Snapshot{});
    script.push_back(Snapshot{platform::DIK_ESCAPE});
    setenv("XDG_PICTURES_DIR", folder.c_str(), 1);
    EXPECT_EQ(play(Options{}, std::move(script)), 0);
    unsetenv("XDG_PICTURES_DIR");
    size_t pictures = 0;
    for (const auto& entry : fs::directory_iterator(folder / "Kordavan")) {
        EXPECT_EQ(entry.path().extension(), ".png");
        ++pictures;
    }
    EXPECT_EQ(pictures, 2u);
    EXPECT_EQ(platform::keptWarnings(), "");
}
#endif

TEST_F(PlayerRunTest, AReplayAskedForAtStartGoesIntoTheRecordFileAsItPlays) {
    const fs::path watched = folder / "watched.replay";
    {
        ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
        std::string error;
        ReplayRecorder recorder;
        ASSERT_TRUE(recorder.start(watched.string(), error)) << error;
        std::vector<Snapshot> script(30, Snapshot{platform::DIK_LEFT});
        script.push_back(Snapshot{platform::DIK_ESCAPE});
        platform::headless::setKeyScript(std::move(script));
        runLoop(LoopStart::game(), deviceControls(), {&recorder});
        recorder.stop();
        endProgram();
        appWindow = nullptr;
        game = GameState{};
        randomState = 1;
    }
    Options options;
    options.replayFile = watched.string();
    options.recordFile = (folder / "again.replay").string();
    std::vector<Snapshot> script(60);
    script.push_back(Snapshot{platform::DIK_ESCAPE});
    EXPECT_EQ(play(options, std::move(script)), 0);
    EXPECT_EQ(loopPhase(), LoopPhase::Title) << "the title came after the replay";
    Replay again;
    std::string error;
    ASSERT_TRUE(parseReplay(readText(options.recordFile), again, error)) << error;
    ASSERT_EQ(again.games.size(), 1u);
    EXPECT_EQ(again.games[0].steps.size(), 31u) << "every step the replay played";
    EXPECT_EQ(platform::keptWarnings(), "");
}

}  // namespace
