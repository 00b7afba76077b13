// The keyboard snapshot with its recovery after a focus loss, and the
// helicopter's controls applied after each game step.

#include "app/keyboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/devices.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "platform/headless.h"

namespace {

// The keyboard and pads as the loop reads them, and what the last poll gave.
DeviceControls devices;
Controls lastHeld;

const Controls& pollControls() {
    lastHeld = devices.poll(LoopPhase::Game, false);
    return lastHeld;
}
void pollKeyboard() {
    pollControls();
}
const Controls& currentControls() {
    return lastHeld;
}
bool isKeyDown(int code) {
    return devices.keys().isDown(code);
}

class KeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        devices = DeviceControls{};
        lastHeld = Controls{};
        appWindow = nullptr;
        ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
        game = GameState{};
        platform::headless::clearCalls();
    }
    void TearDown() override {
        shutdownApp();
        platform::destroyWindow(appWindow);
        appWindow = nullptr;
        devices = DeviceControls{};
        lastHeld = Controls{};
        game = GameState{};
    }

    // One game step's worth of input: the keys held now are read, then applied.
    static void step(const std::vector<uint8_t>& held) {
        platform::headless::setKeys(held);
        pollKeyboard();
        applyGameControls(currentControls());
    }
    static int callsNamed(const std::string& name) {
        const auto& record = platform::headless::calls();
        return static_cast<int>(std::count_if(record.begin(), record.end(),
                                              [&](const auto& call) { return call.name == name; }));
    }
    static bool noKeyDown() {
        const auto& keys = devices.keys().keys;
        return std::all_of(std::begin(keys), std::end(keys), [](uint8_t key) { return key == 0; });
    }
};

using platform::DIK_DOWN;
using platform::DIK_ESCAPE;
using platform::DIK_L;
using platform::DIK_LEFT;
using platform::DIK_RIGHT;
using platform::DIK_SPACE;
using platform::DIK_UP;

// ------------------------------------------------------------ arrows

// One step with these keys held, from these speeds, gives these speeds.
struct Push {
    const char* name;
    std::vector<uint8_t> held;
    double velX, velY;
    int landing;
    double wantX, wantY;
};

TEST_F(KeyboardTest, EachArrowPushesByItsOwnStepUpToTheLimit) {
    const Push pushes[] = {
        {"Left pushes twice as hard as Right", {DIK_LEFT}, 0, 0, 0, 0.4, 0},
        {"Right", {DIK_RIGHT}, 0, 0, 0, -0.2, 0},
        {"Up changes the climb by two tenths", {DIK_UP}, 0, 0, 0, 0, -0.2},
        {"Down", {DIK_DOWN}, 0, 0, 0, 0, 0.2},
        // The limit is tested before the push: past 4 by less than one push.
        {"Left from 3.9", {DIK_LEFT}, 3.9, 0, 0, 3.9 + 0.4, 0},
        {"Left past the limit", {DIK_LEFT}, 3.9 + 0.4, 0, 0, 3.9 + 0.4, 0},
        {"Right from -3.9", {DIK_RIGHT}, -3.9, 0, 0, -3.9 - 0.2, 0},
        {"Right past the limit", {DIK_RIGHT}, -3.9 - 0.2, 0, 0, -3.9 - 0.2, 0},
        {"Up from -3.9", {DIK_UP}, 0, -3.9, 0, 0, -3.9 - 0.2},
        {"Up past the limit", {DIK_UP}, 0, -3.9 - 0.2, 0, 0, -3.9 - 0.2},
        {"Down from 3.9", {DIK_DOWN}, 0, 3.9, 0, 0, 3.9 + 0.2},
        {"Down past the limit", {DIK_DOWN}, 0, 3.9 + 0.2, 0, 0, 3.9 + 0.2},
        // A speed of exactly four is not pushed further.
        {"Left at 4", {DIK_LEFT}, 4.0, 0, 0, 4.0, 0},
        {"Right at -4", {DIK_RIGHT}, -4.0, 0, 0, -4.0, 0},
        {"Up at -4", {DIK_UP}, 0, -4.0, 0, 0, -4.0},
        {"Down at 4", {DIK_DOWN}, 0, 4.0, 0, 0, 4.0},
        // Opposite arrows both apply in one step, each testing the speed as
        // the other left it.
        {"Left and Right", {DIK_LEFT, DIK_RIGHT}, 0, 0, 0, 0.4 - 0.2, 0},
        {"Up and Down", {DIK_UP, DIK_DOWN}, 0, 0, 0, 0, 0},
        {"Right alone refused at -4.1, not after Left",
         {DIK_LEFT, DIK_RIGHT},
         -4.1,
         0,
         0,
         -4.1 + 0.4 - 0.2,
         0},
        {"Left refused at 4, Right still pulls", {DIK_LEFT, DIK_RIGHT}, 4.0, 0, 0, 4.0 - 0.2, 0},
        // While landing only Down is honoured.
        {"Left while landing", {DIK_LEFT}, 1, 1, 1, 1, 1},
        {"Right while landing", {DIK_RIGHT}, 1, 1, 1, 1, 1},
        {"Up while landing", {DIK_UP}, 1, 1, 1, 1, 1},
        {"Down while landing", {DIK_DOWN}, 1, 1, 1, 1, 1.2},
    };
    for (const Push& push : pushes) {
        SCOPED_TRACE(push.name);
        game = GameState{};
        game.velX = push.velX;
        game.velY = push.velY;
        game.landingActive = push.landing;
        step(push.held);
        EXPECT_DOUBLE_EQ(game.velX, push.wantX);
        EXPECT_DOUBLE_EQ(game.velY, push.wantY);
    }
}

TEST_F(KeyboardTest, AHeldKeyActsInEveryStep) {
    for (int i = 0; i < 3; ++i) step({DIK_DOWN});
    EXPECT_NEAR(game.velY, 0.6, 1e-12);
    EXPECT_DOUBLE_EQ(game.velX, 0.0);
}

TEST_F(KeyboardTest, HoldingAnArrowLongSettlesJustPastTheLimit) {
    for (int i = 0; i < 40; ++i) step({DIK_LEFT, DIK_DOWN});
    EXPECT_GE(game.velX, 4.0 - 1e-9);
    EXPECT_LT(game.velX, 4.4);
    EXPECT_GE(game.velY, 4.0 - 1e-9);
    EXPECT_LT(game.velY, 4.2);

    for (int i = 0; i < 80; ++i) step({DIK_RIGHT, DIK_UP});
    EXPECT_LE(game.velX, -4.0 + 1e-9);
    EXPECT_GT(game.velX, -4.2);
    EXPECT_LE(game.velY, -4.0 + 1e-9);
    EXPECT_GT(game.velY, -4.2);
}

TEST_F(KeyboardTest, KeysActOnlyThroughTheLastPoll) {
    pollKeyboard();
    platform::headless::setKeys({DIK_LEFT});
    applyGameControls(currentControls());
    EXPECT_DOUBLE_EQ(game.velX, 0.0) << "not read yet";
    pollKeyboard();
    platform::headless::setKeys({});
    applyGameControls(currentControls());
    EXPECT_DOUBLE_EQ(game.velX, 0.4) << "the snapshot still holds it";
}

// ------------------------------------------------------------ landing key

// L starts a landing at the far end with nobody on board and at the base with
// the man, the helicopter low enough; elsewhere it does nothing. It never
// moves the helicopter, and a second press during the landing changes nothing.
TEST_F(KeyboardTest, TheLandingKeyLandsOnlyWhereThereIsSomethingToDo) {
    const struct {
        const char* name;
        double scrollPos;
        double heliY;
        int carryingMan;
        int lands;
    } places[] = {
        {"at the far end with nobody on board", 1900.0, 271.0, 0, 1},
        {"just short of the far end", 1899.9, 380.0, 0, 0},
        {"at the far end with a man on board", 1950.0, 380.0, 1, 0},
        {"at the far end on row 270", 1920.0, 270.0, 0, 0},
        {"at the far end strictly below row 270", 1920.0, 270.001, 0, 1},
        {"at the base with nobody on board", 2.0, 300.0, 0, 0},
        {"at the base with the man on board", 2.0, 300.0, 1, 1},
        {"just past the base", 2.1, 300.0, 1, 0},
        {"halfway along the course, nobody on board", 960.0, 400.0, 0, 0},
        {"halfway along the course, the man on board", 960.0, 400.0, 1, 0},
        {"at the far end, low", 1900.0, 380.0, 0, 1},
    };
    for (const auto& place : places) {
        SCOPED_TRACE(place.name);
        game = GameState{};
        game.scrollPos = place.scrollPos;
        game.heliY = place.heliY;
        game.carryingMan = place.carryingMan;
        step({DIK_L});
        EXPECT_EQ(game.landingActive, place.lands);
        EXPECT_DOUBLE_EQ(game.velX, 0.0) << "the landing key does not move the helicopter";
        EXPECT_DOUBLE_EQ(game.velY, 0.0);
        step({DIK_L});
        EXPECT_EQ(game.landingActive, place.lands) << "a second press changes nothing";
    }
}

// ------------------------------------------------------------ Escape

TEST_F(KeyboardTest, EachKeyFillsItsOwnControl) {
    const struct {
        uint8_t key;
        bool Controls::*control;
    } keys[] = {{DIK_LEFT, &Controls::left},
                {platform::DIK_RIGHT, &Controls::right},
                {platform::DIK_UP, &Controls::up},
                {DIK_DOWN, &Controls::down},
                {DIK_L, &Controls::land},
                {DIK_SPACE, &Controls::start},
                {platform::DIK_RETURN, &Controls::confirm},
                {DIK_ESCAPE, &Controls::quit}};
    for (const auto& key : keys) {
        platform::headless::setKeys({key.key});
        const Controls& held = pollControls();
        int down = 0;
        for (const auto& other : keys) down += held.*other.control ? 1 : 0;
        EXPECT_TRUE(held.*key.control) << int{key.key};
        EXPECT_EQ(down, 1) << int{key.key};
    }
}

TEST_F(KeyboardTest, AGamepadAddsToTheKeys) {
    platform::PadState pad;
    pad.left = true;
    pad.south = true;
    platform::headless::setPad(pad);
    platform::headless::setKeys({platform::DIK_UP});
    Controls held = pollControls();
    EXPECT_TRUE(held.left && held.land && held.up) << "keyboard and pad together";
    EXPECT_FALSE(held.right || held.down || held.start || held.quit);

    pad = {};
    pad.start = true;
    pad.back = true;
    platform::headless::setPad(pad);
    platform::headless::setKeys({});
    held = pollControls();
    EXPECT_TRUE(held.start && held.confirm) << "Start is Space on the title, Return on a picture";
    EXPECT_TRUE(held.quit) << "Back is Escape";
    EXPECT_FALSE(held.left || held.up) << "the pad's last state, not an old one";

    platform::headless::setPad({});  // pulled out
    held = pollControls();
    EXPECT_FALSE(held.start || held.confirm || held.quit || held.left);
}

// A pad's Start dismisses a picture and starts on the title: the one press
// must not do both. Space, held over from the picture, starts as ever.
TEST_F(KeyboardTest, ThePressThatDismissedAPictureStartsNoGame) {
    platform::PadState pad;
    pad.start = true;
    platform::headless::setPad(pad);
    EXPECT_TRUE(devices.poll(LoopPhase::FailurePicture, false).confirm);
    EXPECT_FALSE(devices.poll(LoopPhase::Title, false).start);
    EXPECT_FALSE(devices.poll(LoopPhase::Title, false).start) << "still the same press";
    platform::headless::setPad({});
    EXPECT_FALSE(devices.poll(LoopPhase::Title, false).start);
    platform::headless::setPad(pad);
    EXPECT_TRUE(devices.poll(LoopPhase::Title, false).start) << "a new press starts";

    platform::headless::setPad({});
    platform::headless::setKeys({platform::DIK_SPACE, platform::DIK_RETURN});
    EXPECT_TRUE(devices.poll(LoopPhase::WinPicture, false).confirm);
    EXPECT_TRUE(devices.poll(LoopPhase::Title, false).start) << "Space is no confirm key";
}

TEST_F(KeyboardTest, EscapeAloneDestroysNothing) {
    step({DIK_ESCAPE});
    EXPECT_TRUE(currentControls().quit);
    EXPECT_EQ(callsNamed("destroyWindow"), 0) << "quitting is the loop's business";
}

// ------------------------------------------------------------ the snapshot

TEST_F(KeyboardTest, AKeyPressedAndReleasedBetweenPollsIsNotSeen) {
    platform::headless::setKeys({DIK_SPACE});
    platform::headless::setKeys({});
    pollKeyboard();
    EXPECT_FALSE(isKeyDown(DIK_SPACE));
}

TEST_F(KeyboardTest, EachPollTakesTheKeysHeldAtThatMoment) {
    platform::headless::setKeyScript({{DIK_SPACE}, {}, {DIK_UP, DIK_SPACE}});
    pollKeyboard();
    EXPECT_TRUE(isKeyDown(DIK_SPACE));
    EXPECT_FALSE(isKeyDown(DIK_UP));
    pollKeyboard();
    EXPECT_FALSE(isKeyDown(DIK_SPACE));
    pollKeyboard();
    EXPECT_TRUE(isKeyDown(DIK_SPACE));
    EXPECT_TRUE(isKeyDown(DIK_UP));
    EXPECT_EQ(devices.keys().keys[DIK_UP], 0x80);
}

TEST_F(KeyboardTest, OnlyBitSevenMeansDown) {
    KeySnapshot snapshot;
    snapshot.keys[DIK_L] = 0x7F;
    EXPECT_FALSE(snapshot.isDown(DIK_L));
    snapshot.keys[DIK_L] = 0x80;
    EXPECT_TRUE(snapshot.isDown(DIK_L));
}

TEST_F(KeyboardTest, AfterTheFocusGoesEveryKeyReadsUp) {
    step({DIK_LEFT, DIK_UP});
    ASSERT_TRUE(isKeyDown(DIK_LEFT));

    platform::headless::setFocus(false);
    pollKeyboard();
    EXPECT_TRUE(noKeyDown()) << "no key stays held while the player is elsewhere";
    pollKeyboard();
    EXPECT_TRUE(noKeyDown());
    applyGameControls(currentControls());
    EXPECT_DOUBLE_EQ(game.velX, 0.4) << "only the step before the focus went counted";
}

TEST_F(KeyboardTest, EveryPollWhileAwayTriesToGetTheKeyboardBack) {
    platform::headless::setKeys({DIK_LEFT});
    platform::headless::setFocus(false);
    platform::headless::clearCalls();
    pollKeyboard();
    pollKeyboard();
    pollKeyboard();
    EXPECT_EQ(callsNamed("acquire"), 3);
    EXPECT_TRUE(noKeyDown());
}

TEST_F(KeyboardTest, TheKeyboardWorksAgainInTheFirstPollAfterTheFocusReturns) {
    platform::headless::setKeys({DIK_LEFT});
    platform::headless::setFocus(false);
    for (int i = 0; i < 5; ++i) pollKeyboard();
    ASSERT_TRUE(noKeyDown());

    platform::headless::setFocus(true);
    platform::headless::clearCalls();
    pollKeyboard();
    EXPECT_EQ(callsNamed("acquire"), 1);
    EXPECT_TRUE(isKeyDown(DIK_LEFT)) << "read in the same poll that got the keyboard back";

    platform::headless::clearCalls();
    step({DIK_RIGHT});
    EXPECT_EQ(callsNamed("acquire"), 0) << "nothing more to recover";
    EXPECT_TRUE(isKeyDown(DIK_RIGHT));
    EXPECT_FALSE(isKeyDown(DIK_LEFT));
    EXPECT_DOUBLE_EQ(game.velX, -0.2);
}

TEST_F(KeyboardTest, AFocusLossThatEndsBeforeThePollStillReadsTheKeys) {
    platform::headless::setKeys({DIK_DOWN});
    platform::headless::setFocus(false);
    platform::headless::setFocus(true);
    pollKeyboard();
    EXPECT_TRUE(isKeyDown(DIK_DOWN));
}

}  // namespace
