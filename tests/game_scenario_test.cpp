// Whole games through the real start-up and main loop on the headless
// machine: a game ends in its picture, the title shows again, and the next
// game starts from the reset with the carried-over fields.

#include <gtest/gtest.h>

#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "tests/loop_hooks.h"

namespace {

StepHooks hooks;

// What the loop observer saw of the two games.
struct GameStart {
    double heliX;
    double heliY;
    double scrollPos;
    int energy;
    int level;
    int crashExplosionPending;
};

struct Scenario {
    int step = 0;
    int games = 0;
    std::vector<GameStart> starts;
    std::vector<int> results;
    void (*setUpFirstGame)() = nullptr;
};

Scenario scenario;

// Space starts each game from the title; Return, held throughout play, ends
// an end picture after its first pass; Escape after the second game's first
// step ends the program.
void beforeStep() {
    ++scenario.step;
    if (scenario.step == 1) {
        ++scenario.games;
        scenario.starts.push_back({game.heliX, game.heliY, game.scrollPos, game.energy, game.level,
                                   game.crashExplosionPending});
        if (scenario.games == 1) {
            scenario.setUpFirstGame();
            platform::headless::setKeys({platform::DIK_RETURN});
        } else {
            platform::headless::setKeys({platform::DIK_ESCAPE});
        }
    }
}

void afterStep(int result) {
    scenario.results.push_back(result);
    if (result == 0) {
        scenario.step = 0;
        platform::headless::setKeys({platform::DIK_SPACE});
    }
}

class ScenarioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        platform::headless::setAutoAdvance(20'000);
        appWindow = nullptr;
        errorMessage = nullptr;
        game = GameState{};
        scenario = Scenario{};
        ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
        hooks.set(beforeStep, afterStep);
        platform::headless::setKeys({platform::DIK_SPACE});
    }

    void TearDown() override {
        hooks.set(nullptr, nullptr);
        shutdownApp();
        if (appWindow != nullptr) platform::destroyWindow(appWindow);
        appWindow = nullptr;
        platform::headless::use();
        game = GameState{};
    }

    void playTwoGames(void (*setUpFirstGame)()) {
        scenario.setUpFirstGame = setUpFirstGame;
        EXPECT_EQ(runMainLoop(LoopStart::title(), deviceControls(), {&hooks}), 0);
        ASSERT_EQ(scenario.games, 2);
    }
};

TEST_F(ScenarioTest, LostGameLeadsBackToTheTitleAndTheNextGameKeepsTheHelicoptersX) {
    playTwoGames([] {
        game.energy = -1;
        game.heliX = 300;
        game.heliY = 380;
    });
    // The fall reaches 410 in the 15th frame, where the 54 frames of the crash
    // begin; the 69th frame shows the picture.
    EXPECT_EQ(scenario.results.size(), 69u + 1u);
    EXPECT_EQ(scenario.results[68], 0);
    const GameStart& next = scenario.starts[1];
    EXPECT_EQ(next.heliX, 300);
    EXPECT_EQ(next.heliY, 370);
    EXPECT_EQ(next.scrollPos, 0);
    EXPECT_EQ(next.energy, 352);
    EXPECT_EQ(next.crashExplosionPending, 1);
}

TEST_F(ScenarioTest, WonGameLeadsBackToTheTitleAndTheNextGameStartsAtLevelZero) {
    playTwoGames([] {
        game.level = 7;
        game.heliX = 250;
        game.heliY = 21;
        game.energy = 100;
    });
    // Eleven frames of climbing; the eleventh opens the win picture.
    EXPECT_EQ(scenario.results.size(), 11u + 1u);
    EXPECT_EQ(scenario.results[10], 0);
    const GameStart& next = scenario.starts[1];
    EXPECT_EQ(next.heliX, 250);
    EXPECT_EQ(next.heliY, 370);
    EXPECT_EQ(next.level, 0);
    EXPECT_EQ(next.energy, 352);
}

}  // namespace
