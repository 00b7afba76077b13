// The settings screen in the loop on the headless machine after a real
// start-up: O opens it over the title, which stands still under it, Escape
// closes it once the key is up, and a game played afterwards is the very
// game it would have been, with only the volume changed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/settings_overlay.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "game/random.h"
#include "platform/headless.h"
#include "shell/control_table.h"
#include "shell/key_bindings.h"
#include "shell/preferences.h"
#include "shell/screenshot.h"
#include "tests/loop_hooks.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

StepHooks hooks;
std::vector<GameState> steps;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool samePicture(const Surface& a, const Surface& b) {
    return a.pixels == b.pixels;
}

class SettingsScreenLoopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        headless::use();
        headless::setAutoAdvance(20'000);  // every turn a frame is due
        folder = fs::temp_directory_path() /
                 ("kordavan-screen-loop-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        file = folder / "kordavan.conf";
        std::ofstream(file, std::ios::binary) << "# mine\nvolume = 100\n";
        usePreferences(Options{}, SettingsFile{file, contents(file)});
        useKeyBindings(defaultKeyBindings());
        game = GameState{};
        steps.clear();
        appWindow = nullptr;
        ASSERT_EQ(initApplication(gameModule(), 1), 1);
        overlay = makeSettingsOverlay(file, folder / "recordings");
        hooks.set(nullptr, [](int) { steps.push_back(game); });
        startRandom = randomState;
    }
    void TearDown() override {
        hooks.set(nullptr, nullptr);
        endProgram();
        appWindow = nullptr;
        game = GameState{};
        fs::remove_all(folder);
    }
    static void frames(int count, const std::vector<uint8_t>& keys) {
        headless::setKeys(keys);
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(runFrame());
            waitForNextFrame();
        }
    }
    // A pad's button pressed for two frames and let go for two.
    static void pressPad(bool PadState::*button) {
        PadState pad;
        pad.*button = true;
        headless::setPad(pad);
        frames(2, {});
        headless::setPad({});
        frames(2, {});
    }
    // The game from the title, one snapshot of the keys a poll, until the
    // script is used up and Escape ends it.
    void run(const std::vector<headless::Snapshot>& script) {
        headless::setKeyScript(script, [] { headless::setKeys({DIK_ESCAPE}); });
        runLoop(LoopStart::title().withScreen(overlay.get()), deviceControls(), {&hooks});
    }

    fs::path folder;
    fs::path file;
    std::unique_ptr<OverlayScreen> overlay;
    uint32_t startRandom = 0;
};

TEST_F(SettingsScreenLoopTest, OOpensTheScreenOverTheTitleAndEscapeClosesItWithTheTitleUnchanged) {
    beginLoop(LoopStart::title().withScreen(overlay.get()), deviceControls(), {&hooks});
    frames(30, {});
    const Surface title = headless::screen();
    const int flips = headless::flipCount();
    frames(3, {DIK_O});
    EXPECT_EQ(loopPhase(), LoopPhase::Title);
    EXPECT_FALSE(samePicture(headless::screen(), title)) << "the screen shows";
    EXPECT_GT(headless::flipCount(), flips);
    frames(20, {});
    const Surface screen = headless::screen();
#ifndef _WIN32
    // "Save a picture", three rows up round the page, keeps the title's
    // frame, not the screen. (Windows keeps its Pictures folder as a known
    // folder, not in the environment: tests/windows/windows_pictures_test.cpp.)
    setenv("XDG_PICTURES_DIR", folder.c_str(), 1);
    for (int i = 0; i < 3; ++i) {
        frames(2, {DIK_UP});
        frames(2, {});
    }
    frames(2, {DIK_RETURN});
    frames(2, {});
    unsetenv("XDG_PICTURES_DIR");
    std::vector<fs::path> pictures;
    for (const auto& entry : fs::directory_iterator(folder / "Kordavan")) pictures.push_back(entry);
    ASSERT_EQ(pictures.size(), 1u);
    const std::vector<uint8_t> png = encodePng(title);
    EXPECT_EQ(contents(pictures[0]), std::string(png.begin(), png.end()));
#endif
    frames(3, {DIK_ESCAPE});
    EXPECT_TRUE(samePicture(headless::screen(), title)) << "the title's frame, under the key";
    frames(1, {});
    // The title goes on from where it stood: the same picture as a loop
    // that never opened the screen shows after as many title passes.
    frames(10, {});
    const Surface after = headless::screen();
    beginLoop(LoopStart::title().withScreen(overlay.get()), deviceControls(), {&hooks});
    frames(40, {});
    EXPECT_TRUE(samePicture(headless::screen(), after));
    EXPECT_FALSE(samePicture(screen, after));
    EXPECT_EQ(contents(file), "# mine\nvolume = 100\n") << "looking changes nothing";
}

// Left held on the volume for 42 frames: a tenth at once, then after 0.4 s
// one more each tenth of a second. Down held as the screen opens moves
// nothing until it goes up.
TEST_F(SettingsScreenLoopTest, AnArrowHeldMovesAgainAfterAMoment) {
    beginLoop(LoopStart::title().withScreen(overlay.get()), deviceControls(), {&hooks});
    frames(3, {DIK_O, DIK_DOWN});
    frames(40, {DIK_DOWN});
    frames(2, {});
    for (int i = 0; i < 3; ++i) {
        frames(2, {DIK_DOWN});
        frames(2, {});
    }
    frames(42, {DIK_LEFT});
    frames(2, {});
    frames(3, {DIK_ESCAPE});
    EXPECT_EQ(contents(file), "# mine\nvolume = 60\n");
}

TEST_F(SettingsScreenLoopTest, APadAndThePointerWorkItOverAPausedGameWhichStaysPaused) {
    beginLoop(LoopStart::game().withScreen(overlay.get()), deviceControls(), {&hooks});
    frames(3, {});
    frames(1, {DIK_P});
    frames(1, {});
    const Surface paused = headless::screen();
    const size_t stepsBefore = steps.size();
    pressPad(&PadState::rightShoulder);
    EXPECT_FALSE(samePicture(headless::screen(), paused)) << "the screen shows";
    for (int i = 0; i < 3; ++i) pressPad(&PadState::down);
    pressPad(&PadState::left);
    EXPECT_EQ(soundOptions().volume, 90);
    headless::pressPointer(200, 66 + 2 * 22 + 10);  // "Sharp pixels"
    frames(1, {});
    EXPECT_TRUE(displayOptions().integerScale);
    EXPECT_EQ(contents(file), "# mine\nvolume = 90\ninteger-scale = yes\n");
    headless::pressPointer(548, 432);  // the Back button
    frames(2, {});
    EXPECT_TRUE(samePicture(headless::screen(), paused)) << "closed over the paused frame";
    frames(5, {});
    EXPECT_EQ(steps.size(), stepsBefore) << "and the game is still paused";
    frames(1, {DIK_P});
    frames(2, {});
    EXPECT_GT(steps.size(), stepsBefore);
}

// A key tapped on the screen: down for two frames, up for two.
void tap(uint8_t key) {
    headless::setKeys({key});
    for (int i = 0; i < 4; ++i) {
        if (i == 2) headless::setKeys({});
        ASSERT_TRUE(runFrame());
        waitForNextFrame();
    }
}

KeyBindings boundAs(const std::vector<std::pair<std::string, uint8_t>>& keys) {
    KeyBindings bindings = defaultKeyBindings();
    for (const auto& [control, code] : keys) bindings.keys[controlIndex(control)] = {code};
    return bindings;
}

// The arrows mean themselves whatever the player gave Up, Down, Left and
// Right: three Downs reach the volume, one Left takes a tenth off, once.
TEST_F(SettingsScreenLoopTest, TheArrowsMoveOnceWhateverTheBindings) {
    const std::vector<std::vector<std::pair<std::string, uint8_t>>> bindings = {
        {{"up", DIK_DOWN}, {"down", DIK_UP}},
        {{"left", DIK_RIGHT}, {"right", DIK_LEFT}},
        {{"up", DIK_LEFT}, {"down", DIK_RIGHT}, {"left", DIK_UP}, {"right", DIK_DOWN}},
    };
    for (const auto& keys : bindings) {
        std::ofstream(file, std::ios::binary) << "volume = 100\n";
        usePreferences(Options{}, SettingsFile{file, contents(file)});
        useKeyBindings(boundAs(keys));
        beginLoop(LoopStart::title().withScreen(overlay.get()), deviceControls(), {&hooks});
        tap(DIK_O);
        for (int i = 0; i < 3; ++i) tap(DIK_DOWN);
        tap(DIK_LEFT);
        EXPECT_EQ(contents(file), "volume = 90\n") << keys.front().first;
        tap(DIK_ESCAPE);
        EXPECT_FALSE(screenOpen());
    }
    // A key of the player's own adds to the arrows: W for Up goes back up to
    // the display's row, where Left changes the display, not the volume.
    useKeyBindings(boundAs({{"up", DIK_W}}));
    beginLoop(LoopStart::title().withScreen(overlay.get()), deviceControls(), {&hooks});
    tap(DIK_O);
    tap(DIK_DOWN);
    tap(DIK_W);
    tap(DIK_LEFT);
    EXPECT_EQ(contents(file), "volume = 90\ndisplay = window\n");
}

// A key just given to Confirm, Quit or Settings, still held, does nothing;
// let go, the screen is still on the keys page, where Escape, Escape closes.
TEST_F(SettingsScreenLoopTest, AKeyJustGivenDoesNothingUntilLetGo) {
    const std::vector<std::pair<std::string, size_t>> controls = {
        {"confirm", 7}, {"quit", 8}, {"settings", 10}};
    for (const auto& [control, row] : controls) {
        useKeyBindings(defaultKeyBindings());
        beginLoop(LoopStart::title().withScreen(overlay.get()), deviceControls(), {&hooks});
        tap(DIK_O);
        for (int i = 0; i < 6; ++i) tap(DIK_DOWN);
        tap(DIK_RETURN);  // Keys...
        for (size_t i = 0; i < row; ++i) tap(DIK_DOWN);
        tap(DIK_RETURN);
        frames(20, {DIK_K});
        frames(2, {});
        EXPECT_EQ(keyBindings().keys[controlIndex(control)], std::vector<uint8_t>{DIK_K});
        EXPECT_TRUE(screenOpen()) << control;
        tap(DIK_ESCAPE);
        EXPECT_TRUE(screenOpen()) << control << ": back on the first page";
        tap(DIK_ESCAPE);
        EXPECT_FALSE(screenOpen()) << control << ": closed";
    }
}

// Alt+Enter while a key is asked for switches the display and gives no key
// (the Return of Alt+Enter never reaches the game's keys: the machine keeps
// it); Alt alone is given as it goes up, and a key with Alt held is the key.
TEST_F(SettingsScreenLoopTest, AltEnterWhileAKeyIsAskedForSwitchesAndGivesNothing) {
    struct Case {
        bool switches;
        std::vector<uint8_t> withAlt;
        std::string line;
    };
    const std::vector<Case> cases = {
        {true, {DIK_LMENU}, "key-left = K\n"},
        {false, {DIK_RMENU}, "key-left = RightAlt\n"},
        {false, {DIK_LMENU, DIK_J}, "key-left = J\n"},
    };
    for (const Case& c : cases) {
        std::ofstream(file, std::ios::binary) << "";
        usePreferences(Options{}, SettingsFile{file, ""});
        useKeyBindings(defaultKeyBindings());
        beginLoop(LoopStart::title().withScreen(overlay.get()), deviceControls(), {&hooks});
        tap(DIK_O);
        for (int i = 0; i < 6; ++i) tap(DIK_DOWN);
        tap(DIK_RETURN);  // Keys..., on Left
        tap(DIK_RETURN);
        const bool fullscreen = displayOptions().fullscreen;
        frames(3, {c.withAlt.front()});
        if (c.switches) headless::switchDisplay();
        frames(3, c.withAlt);
        frames(3, {c.withAlt.front()});
        frames(2, {});
        EXPECT_EQ(displayOptions().fullscreen, c.switches ? !fullscreen : fullscreen);
        if (c.switches) {
            EXPECT_EQ(contents(file), "") << "nothing given";
            tap(DIK_K);
        }
        EXPECT_EQ(contents(file), c.line);
        tap(DIK_ESCAPE);
        tap(DIK_ESCAPE);
        EXPECT_FALSE(screenOpen());
    }
}

// Restoring the defaults asks first: any other key drops the question, and
// only Return twice in a row restores.
TEST_F(SettingsScreenLoopTest, RestoringTheDefaultsTakesReturnTwice) {
    std::ofstream(file, std::ios::binary) << "volume = 50\n";
    usePreferences(Options{}, SettingsFile{file, contents(file)});
    beginLoop(LoopStart::title().withScreen(overlay.get()), deviceControls(), {&hooks});
    tap(DIK_O);
    tap(DIK_UP);
    tap(DIK_UP);  // round the page to "Restore the defaults"
    for (const uint8_t other : {uint8_t{DIK_X}, uint8_t{DIK_LEFT}, uint8_t{DIK_SPACE}}) {
        tap(DIK_RETURN);
        tap(other);
        tap(DIK_RETURN);  // asks again
        EXPECT_EQ(contents(file), "volume = 50\n") << int{other};
        tap(other);
    }
    tap(DIK_RETURN);
    EXPECT_EQ(contents(file), "volume = 50\n") << "asked, not done";
    tap(DIK_RETURN);
    EXPECT_EQ(soundOptions().volume, 100);
    EXPECT_NE(contents(file).find("volume = 100\n"), std::string::npos);
}

// A few title passes, Space, the loading sequence and a game flown with a
// few keys.
std::vector<headless::Snapshot> aGame() {
    std::vector<headless::Snapshot> script(10);
    script.insert(script.end(), 2, {DIK_SPACE});
    script.resize(script.size() + 720);
    script.insert(script.end(), 40, {DIK_LEFT});
    script.insert(script.end(), 60, {DIK_UP, DIK_RIGHT});
    script.insert(script.end(), 30, {DIK_L});
    script.insert(script.end(), 40, {DIK_DOWN});
    return script;
}

// A key pressed at two polls and let go at two.
void press(std::vector<headless::Snapshot>& script, uint8_t key) {
    script.insert(script.end(), 2, {key});
    script.insert(script.end(), 2, {});
}

TEST_F(SettingsScreenLoopTest, AGameAfterTheScreenIsTheSameGameWithOnlyTheVolumeChanged) {
    run(aGame());
    const std::vector<GameState> untouched = steps;
    ASSERT_GT(untouched.size(), 150u);
    EXPECT_EQ(soundOptions().volume, 100);

    game = GameState{};
    randomState = startRandom;
    steps.clear();
    std::vector<headless::Snapshot> script(5);
    press(script, DIK_O);
    for (int i = 0; i < 3; ++i) press(script, DIK_DOWN);
    press(script, DIK_LEFT);
    press(script, DIK_ESCAPE);
    const std::vector<headless::Snapshot> played = aGame();
    script.insert(script.end(), played.begin(), played.end());
    run(script);
    EXPECT_EQ(soundOptions().volume, 90);
    EXPECT_EQ(contents(file), "# mine\nvolume = 90\n");
    ASSERT_EQ(steps.size(), untouched.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        ASSERT_EQ(std::memcmp(&steps[i], &untouched[i], sizeof(GameState)), 0) << "step " << i;
    }
}

}  // namespace
