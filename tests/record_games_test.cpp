// "Record my games" on the headless machine, through the desktop program
// itself: the settings file turns it on, a game played leaves a replay in
// the recordings folder that kordavan-trace plays back as it went, a run
// without a game leaves nothing, the newest fifty stay, a taken name is
// never written over, a switch counts from the next game, and a folder that
// cannot be made is told once while the game goes on.

#include "app/record_games.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/devices.h"
#include "app/extras.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/run_settings.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "game/random.h"
#include "platform/headless.h"
#include "platform/warnings.h"
#include "replay/player.h"
#include "shell/preferences.h"
#include "shell/recordings.h"
#include "tests/process_support.h"

namespace {

using platform::headless::Snapshot;

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t count(const std::string& text, const std::string& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

// Space on the title, the loading, a little flight, Escape.
std::vector<Snapshot> aShortGame() {
    std::vector<Snapshot> script{Snapshot{platform::DIK_SPACE}};
    script.insert(script.end(), 705, Snapshot{});
    script.insert(script.end(), 40, Snapshot{platform::DIK_LEFT, platform::DIK_UP});
    script.push_back(Snapshot{platform::DIK_ESCAPE});
    return script;
}

class RecordGamesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("kordavan-record-games-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        if (const char* before = std::getenv("XDG_CONFIG_HOME")) configHome = before;
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        // As the game's entry does before its settings are read.
        sendSettingsToTheRun();
        recordings = folder / "kordavan" / "recordings";
        platform::collectWarnings({});
    }
    void TearDown() override {
        platform::writeWarnings();
        if (configHome) {
            setenv("XDG_CONFIG_HOME", configHome->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
        useSettings(Settings{});
        std::filesystem::remove_all(folder);
        game = GameState{};
        randomState = 1;
    }

    // The desktop program from start to end with this settings file and
    // these keys; the window is closed should the keys run out.
    int playDesktop(std::vector<Snapshot> script, const std::string& settingsText) {
        platform::headless::use();
        platform::headless::setAutoAdvance(20'000);
        appWindow = nullptr;
        const Options options;
        const SettingsFile settings{folder / "kordavan" / "kordavan.conf", settingsText};
        EXPECT_TRUE(setUpExtras(options, settings));
        usePreferences(options, settings);
        platform::headless::setKeyScript(std::move(script), [] {
            platform::headless::postSystemMessage(platform::MessageKind::Close);
        });
        const int code = runDesktopGame(platform::gameModule(), 1);
        finishExtras();
        appWindow = nullptr;
        return code;
    }

    void make(const std::string& name, const std::string& text = "mine\n") {
        std::filesystem::create_directories(recordings);
        std::ofstream(recordings / name) << text;
    }

    static std::string oldName(int n) {
        char name[64];
        std::snprintf(name, sizeof name, "Kordavan 2020-01-01 %02d-%02d-00.replay", n / 60, n % 60);
        return name;
    }

    std::filesystem::path folder;
    std::filesystem::path recordings;
    std::optional<std::string> configHome;
};

#ifdef KORDAVAN_TRACE_EXE

TEST_F(RecordGamesTest, APlayedGameLeavesAReplayThatPlaysBackAsItWent) {
    EXPECT_EQ(playDesktop(aShortGame(), "record-games = yes\n"), 0);
    EXPECT_EQ(platform::keptWarnings(), "");
    const auto kept = keptRecordings(recordings);
    ASSERT_EQ(kept.size(), 1u);
    Replay replay;
    std::string error;
    ASSERT_EQ(readReplay(kept[0].string(), replay, error), ReplayRead::read) << error;
    ASSERT_EQ(replay.games.size(), 1u);
    ASSERT_TRUE(replay.games[0].end);
    EXPECT_EQ(replay.games[0].end->ending, GameEnding::quit);

    const ProcessResult played = runProcess({KORDAVAN_TRACE_EXE, "--replay", kept[0].string()});
    EXPECT_EQ(played.exitCode, 0) << played.errors;
    EXPECT_EQ(count(played.output, "\n"), static_cast<size_t>(replay.games[0].end->steps));
}

#endif

TEST_F(RecordGamesTest, NothingIsRecordedWithoutAGameOrWithTheSettingOff) {
    std::vector<Snapshot> titleOnly(30, Snapshot{});
    titleOnly.push_back(Snapshot{platform::DIK_ESCAPE});
    EXPECT_EQ(playDesktop(titleOnly, "record-games = yes\n"), 0);
    EXPECT_FALSE(std::filesystem::exists(recordings)) << "not even the folder";

    EXPECT_EQ(playDesktop(aShortGame(), "record-games = no\n"), 0);
    EXPECT_FALSE(std::filesystem::exists(recordings));
    EXPECT_EQ(platform::keptWarnings(), "");
}

TEST_F(RecordGamesTest, TheFiftyFirstRecordingRemovesTheOldestOnly) {
    for (int n = 0; n < 50; ++n) make(oldName(n));
    make("notes.txt");
    make("Kordavan best flight.replay");
    EXPECT_EQ(playDesktop(aShortGame(), "record-games = yes\n"), 0);
    EXPECT_EQ(platform::keptWarnings(), "");
    const auto kept = keptRecordings(recordings);
    ASSERT_EQ(kept.size(), 50u);
    EXPECT_NE(readText(kept.front()).rfind("kordavan-replay 1\ngame ", 0), std::string::npos)
        << "the newest is the game just played";
    EXPECT_FALSE(std::filesystem::exists(recordings / oldName(0)));
    for (int n = 1; n < 50; ++n) EXPECT_TRUE(std::filesystem::exists(recordings / oldName(n)));
    EXPECT_EQ(readText(recordings / "notes.txt"), "mine\n");
    EXPECT_EQ(readText(recordings / "Kordavan best flight.replay"), "mine\n");
}

TEST_F(RecordGamesTest, TheRecordingGoingOnIsKeptWhateverTheOthersNamesSay) {
    // Named later than now: a clock put back, or recordings from another
    // machine.
    const auto laterName = [](int n) { return "Kordavan 2099" + oldName(n).substr(13); };
    for (int n = 0; n < 50; ++n) make(laterName(n));
    EXPECT_EQ(playDesktop(aShortGame(), "record-games = yes\n"), 0);
    EXPECT_EQ(platform::keptWarnings(), "");
    const auto kept = keptRecordings(recordings);
    ASSERT_EQ(kept.size(), 50u);
    size_t played = 0;
    for (const auto& path : kept) played += readText(path).starts_with("kordavan-replay 1\ngame ");
    EXPECT_EQ(played, 1u) << "the game just played is kept, whole";
    EXPECT_FALSE(std::filesystem::exists(recordings / laterName(0)));
    for (int n = 1; n < 50; ++n) EXPECT_TRUE(std::filesystem::exists(recordings / laterName(n)));
}

TEST_F(RecordGamesTest, AnotherUsersLinkForTheFolderIsToldAndNothingThereIsTouched) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a link to another user";
    const std::filesystem::path theirs = folder / "root's own";
    std::filesystem::create_directories(theirs);
    for (int n = 0; n < 50; ++n) std::ofstream(theirs / oldName(n)) << "root's\n";
    std::filesystem::create_directories(recordings.parent_path());
    std::filesystem::create_directory_symlink(theirs, recordings);
    ASSERT_EQ(::lchown(recordings.c_str(), 12345, 12345), 0);
    EXPECT_EQ(playDesktop(aShortGame(), "record-games = yes\n"), 0);
    const std::string told = platform::keptWarnings();
    EXPECT_EQ(count(told, "\n"), 1u) << told;
    EXPECT_NE(told.find(recordings.string() + " is another user's link"), std::string::npos)
        << told;
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(theirs)) {
        ++files;
        EXPECT_EQ(readText(entry.path()), "root's\n") << entry.path();
    }
    EXPECT_EQ(files, 50u);
}

TEST_F(RecordGamesTest, ATakenNameIsNumberedNeverWrittenOver) {
    // Every second this test may take already has a recording of its name.
    const std::time_t now = std::time(nullptr);
    for (int second = 0; second < 30; ++second) make(recordingName(now + second));
    EXPECT_EQ(playDesktop(aShortGame(), "record-games = yes\n"), 0);
    const auto kept = keptRecordings(recordings);
    ASSERT_EQ(kept.size(), 31u);
    size_t numbered = 0;
    for (const auto& path : kept) {
        const std::string text = readText(path);
        if (path.filename().string().find(" (2).replay") != std::string::npos) {
            ++numbered;
            EXPECT_EQ(text.rfind("kordavan-replay 1\n", 0), 0u);
        } else {
            EXPECT_EQ(text, "mine\n");
        }
    }
    EXPECT_EQ(numbered, 1u);
}

TEST_F(RecordGamesTest, TheFolderThatCannotBeMadeIsToldOnceAndTheGameGoesOn) {
    std::filesystem::create_directories(recordings.parent_path());
    std::ofstream(recordings) << "a file where the folder would be\n";
    EXPECT_EQ(playDesktop(aShortGame(), "record-games = yes\n"), 0);
    const std::string told = platform::keptWarnings();
    EXPECT_EQ(count(told, "\n"), 1u) << told;
    EXPECT_NE(told.find("cannot make the recordings folder " + recordings.string() + ": "),
              std::string::npos)
        << told;
    EXPECT_NE(told.find("the games of this run are not recorded"), std::string::npos) << told;
    EXPECT_EQ(platform::headless::keyScriptRemaining(), 0u) << "the game was played to its Escape";
}

// The switch on the settings screen, heard by the recorder as each game
// begins: off closes the file after the games it holds, on again begins a
// new one.
TEST_F(RecordGamesTest, TheSwitchCountsFromTheNextGame) {
    platform::headless::use();
    platform::headless::setAutoAdvance(20'000);
    appWindow = nullptr;
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    GamesRecorder recorder;
    const auto playAGame = [&] {
        std::vector<Snapshot> script(20, Snapshot{platform::DIK_RIGHT});
        script.push_back(Snapshot{platform::DIK_ESCAPE});
        platform::headless::setKeyScript(std::move(script));
        game = GameState{};
        EXPECT_EQ(runLoop(LoopStart::game(), deviceControls(), {&recorder}), LoopEnd::quit);
    };
    // As the settings screen switches it.
    const auto recordGames = [](bool on) {
        Settings settings = currentSettings();
        settings.recordGames = on;
        useSettings(settings);
    };
    recordGames(true);
    playAGame();
    ASSERT_EQ(keptRecordings(recordings).size(), 1u);
    recordGames(false);
    playAGame();
    recordGames(true);
    playAGame();
    recorder.stop();
    endProgram();
    appWindow = nullptr;
    const auto kept = keptRecordings(recordings);
    ASSERT_EQ(kept.size(), 2u);
    for (const auto& path : kept) EXPECT_EQ(count(readText(path), "\ngame "), 1u) << path;
    EXPECT_EQ(platform::keptWarnings(), "");
}

}  // namespace
