// The real loop on the headless machine, fed by a scripted source: what it
// tells its listeners, in order, and how a source that is done ends it. And
// a replay's player as that source in the window, where the player's own
// Escape and Return still count on an end picture however long the
// recording held it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "game/random.h"
#include "platform/headless.h"
#include "replay/player.h"
#include "replay/recorder.h"

namespace {

// One controls record per poll; done when asked for one more than it holds
// (or never: then nothing is held from there on).
class ScriptedSource : public ControlSource {
  public:
    explicit ScriptedSource(std::vector<Controls> script, bool endWhenUsedUp = true)
        : script(std::move(script)), endWhenUsedUp(endWhenUsedUp) {}
    Controls poll(LoopPhase phase, bool paused) override {
        phases.push_back(paused ? "paused" : phaseName(phase));
        if (next < script.size()) return script[next++];
        usedUp = true;
        return Controls{};
    }
    void heard(const LoopEvent& event) override {
        if (log != nullptr && event.kind != LoopEventKind::frameEnded) log->push_back("source");
    }
    bool done() const override { return endWhenUsedUp && usedUp; }

    static std::string phaseName(LoopPhase phase) {
        switch (phase) {
            case LoopPhase::Title:
                return "title";
            case LoopPhase::Game:
                return "game";
            case LoopPhase::WinPicture:
                return "won";
            case LoopPhase::FailurePicture:
                return "lost";
        }
        return "?";
    }

    std::vector<std::string>* log = nullptr;
    std::vector<std::string> phases;

  private:
    std::vector<Controls> script;
    size_t next = 0;
    bool usedUp = false;
    bool endWhenUsedUp;
};

// Writes every event but the end of a frame as a word.
class EventLog : public LoopListener {
  public:
    explicit EventLog(std::vector<std::string>& log) : log(log) {}
    void heard(const LoopEvent& event) override {
        switch (event.kind) {
            case LoopEventKind::stepBegins:
                log.push_back("step");
                break;
            case LoopEventKind::stepRan:
                log.push_back("ran " + std::to_string(event.result) +
                              (event.controls.left ? " left" : "") +
                              (event.controls.quit ? " quit" : ""));
                break;
            case LoopEventKind::endPictureShown:
                log.push_back(event.won ? "won shown" : "lost shown");
                break;
            case LoopEventKind::endPictureDismissed:
                log.push_back("dismissed after " + std::to_string(event.passes));
                break;
            case LoopEventKind::titlePassShown:
                log.push_back("title");
                break;
            case LoopEventKind::frameEnded:
                ++frames;
                break;
            case LoopEventKind::loopEnded:
                log.push_back(event.quit ? "ended: quit" : "ended: source done");
                break;
        }
    }
    int frames = 0;

  private:
    std::vector<std::string>& log;
};

Controls held(bool Controls::*control) {
    Controls controls;
    controls.*control = true;
    return controls;
}

// A game whose next step climbs off the top: won.
GameMoment aboutToWin() {
    GameMoment moment;
    moment.state.level = 7;
    moment.state.heliY = 2;
    moment.random = 4242;
    return moment;
}

class LoopEventsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        platform::headless::setAutoAdvance(20'000);  // every turn a step is due
        appWindow = nullptr;
        game = GameState{};
        randomState = 1;
        ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    }
    void TearDown() override {
        endProgram();
        appWindow = nullptr;
        game = GameState{};
        randomState = 1;
    }
    std::vector<std::string> log;
};

TEST_F(LoopEventsTest, StepsAreToldWithTheirControlsAndEscapeEndsTheLoop) {
    Controls quit = held(&Controls::quit);
    ScriptedSource source({held(&Controls::left), Controls{}, quit, held(&Controls::left)});
    EventLog listener(log);
    EXPECT_EQ(runLoop(LoopStart::game(), source, {&listener}), LoopEnd::quit);
    EXPECT_EQ(log, (std::vector<std::string>{"step", "ran 1 left", "step", "ran 1", "step",
                                             "ran 1 quit", "ended: quit"}));
    EXPECT_EQ(source.phases, (std::vector<std::string>{"game", "game", "game"}))
        << "the last record was never asked for";
    EXPECT_EQ(listener.frames, 2) << "a frame that goes on ends told; the last quits";
}

TEST_F(LoopEventsTest, AWonPictureIsToldShownAndDismissedWithItsPasses) {
    ScriptedSource source({Controls{}, Controls{}, held(&Controls::confirm)});
    EventLog listener(log);
    EXPECT_EQ(runLoop(LoopStart::game(aboutToWin()), source, {&listener}), LoopEnd::sourceDone);
    EXPECT_EQ(log, (std::vector<std::string>{"step", "won shown", "dismissed after 3",
                                             "ended: source done"}));
    EXPECT_EQ(source.phases, (std::vector<std::string>{"won", "won", "won", "title"}))
        << "the winning step reads no controls of its own; the title's first pass ends it";
    EXPECT_EQ(loopPhase(), LoopPhase::Title) << "dismissed, the title would be next";
}

TEST_F(LoopEventsTest, ASourceThatIsDoneEndsTheLoopBeforeAnotherStep) {
    // Done once it has heard two steps run, as kordavan-trace's --steps is.
    class TwoSteps : public ScriptedSource {
      public:
        TwoSteps() : ScriptedSource({}, false) {}
        void heard(const LoopEvent& event) override { ran += event.kind == LoopEventKind::stepRan; }
        bool done() const override { return ran >= 2; }
        int ran = 0;
    } source;
    EventLog listener(log);
    EXPECT_EQ(runLoop(LoopStart::game(), source, {&listener}), LoopEnd::sourceDone);
    EXPECT_EQ(loopEnd(), LoopEnd::sourceDone);
    EXPECT_EQ(log,
              (std::vector<std::string>{"step", "ran 1", "step", "ran 1", "ended: source done"}));
    EXPECT_FALSE(runFrame()) << "an ended loop stays ended";
}

TEST_F(LoopEventsTest, ASourceThatRunsOutInAStepEndsTheLoopBeforeTheStepIsTold) {
    ScriptedSource source({held(&Controls::left)});
    EventLog listener(log);
    EXPECT_EQ(runLoop(LoopStart::game(), source, {&listener}), LoopEnd::sourceDone);
    // The second step ran, but the controls after it never came.
    EXPECT_EQ(log, (std::vector<std::string>{"step", "ran 1 left", "step", "ended: source done"}));
}

// A settings screen that keeps whether Down was held at each of its frames,
// and closes after its third.
class ScreenLog : public OverlayScreen {
  public:
    void open(LoopPhase) override { ++opened; }
    bool frame(const DeviceInput& input) override {
        downHeld.push_back(input.keys.isDown(platform::DIK_DOWN));
        return downHeld.size() < 3;
    }
    int opened = 0;
    std::vector<bool> downHeld;
};

// The player's hands, holding Down on the keyboard.
class HandsOnDown : public ScriptedSource {
  public:
    using ScriptedSource::ScriptedSource;
    const DeviceInput* readDevices() override {
        ++reads;
        input.keys.keys[platform::DIK_DOWN] = 0x80;
        return &input;
    }
    DeviceInput input;
    int reads = 0;
};

TEST_F(LoopEventsTest, TheSettingsScreenTakesTheKeysTheLoopsSourceReads) {
    ScreenLog screen;
    HandsOnDown hands({held(&Controls::settings)}, false);
    EventLog listener(log);
    beginLoop(LoopStart::title().withScreen(&screen), hands, {&listener});
    ASSERT_TRUE(runFrame());
    EXPECT_TRUE(screenOpen());
    for (int frame = 0; frame < 5; ++frame) ASSERT_TRUE(runFrame());
    EXPECT_FALSE(screenOpen());
    EXPECT_EQ(screen.opened, 1);
    EXPECT_EQ(screen.downHeld, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(hands.reads, 3) << "once a frame of the screen, never for the title";
    EXPECT_EQ(log, (std::vector<std::string>{"title", "title"}))
        << "the title stood still under the screen and goes on after it";
}

TEST_F(LoopEventsTest, ASourceWithoutHandsGivesTheScreenNothingHeld) {
    ScreenLog screen;
    ScriptedSource source({held(&Controls::settings)}, false);
    beginLoop(LoopStart::title().withScreen(&screen), source);
    for (int frame = 0; frame < 4; ++frame) ASSERT_TRUE(runFrame());
    EXPECT_EQ(screen.downHeld, (std::vector<bool>{false, false, false}));
}

TEST_F(LoopEventsTest, WithoutAScreenTheSettingsControlDoesNothing) {
    ScriptedSource source({held(&Controls::settings)}, false);
    EventLog listener(log);
    beginLoop(LoopStart::title(), source, {&listener});
    for (int frame = 0; frame < 3; ++frame) ASSERT_TRUE(runFrame());
    EXPECT_EQ(log, (std::vector<std::string>{"title", "title", "title"}));
}

TEST_F(LoopEventsTest, AGameMomentStartsTheLoopFromThatStateAndGenerator) {
    GameMoment moment;
    moment.state.scrollPos = 1234;
    moment.state.energy = 77;
    moment.random = 99;
    ScriptedSource source({Controls{}});
    class FirstStep : public LoopListener {
      public:
        void heard(const LoopEvent& event) override {
            if (event.kind != LoopEventKind::stepBegins || seen) return;
            seen = true;
            scrollPos = game.scrollPos;
            energy = game.energy;
            random = randomState;
        }
        bool seen = false;
        double scrollPos = 0;
        int energy = 0;
        uint32_t random = 0;
    } first;
    runLoop(LoopStart::game(moment), source, {&first});
    ASSERT_TRUE(first.seen);
    EXPECT_DOUBLE_EQ(first.scrollPos, 1234);
    EXPECT_EQ(first.energy, 77);
    EXPECT_EQ(first.random, 99u);
}

TEST_F(LoopEventsTest, ListenersHearInTheirOrderAndTheSourceLast) {
    ScriptedSource source({held(&Controls::quit)});
    source.log = &log;
    class Tagged : public LoopListener {
      public:
        Tagged(std::vector<std::string>& log, std::string tag) : log(log), tag(std::move(tag)) {}
        void heard(const LoopEvent& event) override {
            if (event.kind == LoopEventKind::stepRan) log.push_back(tag);
        }

      private:
        std::vector<std::string>& log;
        std::string tag;
    } first(log, "first"), second(log, "second");
    runLoop(LoopStart::game(), source, {&first, &second});
    // The source hears stepBegins, stepRan and the end.
    EXPECT_EQ(log, (std::vector<std::string>{"source", "first", "second", "source", "source"}));
}

TEST_F(LoopEventsTest, TheTitleTellsEachPassAndSpaceBeginsTheGameAfterTheLoading) {
    std::vector<Controls> script(2);
    script.push_back(held(&Controls::start));
    script.resize(script.size() + 699);
    script.push_back(held(&Controls::quit));
    ScriptedSource source(std::move(script));
    EventLog listener(log);
    EXPECT_EQ(runLoop(LoopStart::title(), source, {&listener}), LoopEnd::quit);
    // Two passes, the one that sees Space, then the loading's 699 more.
    ASSERT_EQ(log.size(), 702u + 3u);
    EXPECT_EQ(std::count(log.begin(), log.end(), "title"), 702);
    EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
              (std::vector<std::string>{"step", "ran 1 quit", "ended: quit"}));
}

// ------------------------------------------------------------ a replay in the window

class ReplayInTheWindowTest : public LoopEventsTest {
  protected:
    // A won game recorded as it is played: its picture dismissed after three
    // passes. The replay read back from the file.
    Replay recordAWonGame() {
        const auto path =
            std::filesystem::temp_directory_path() /
            ("kordavan-loop-events-" +
             std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".replay");
        std::filesystem::remove(path);
        std::string error;
        ReplayRecorder recorder;
        EXPECT_TRUE(recorder.start(path.string(), error)) << error;
        ScriptedSource source({Controls{}, Controls{}, held(&Controls::confirm)});
        runLoop(LoopStart::game(aboutToWin()), source, {&recorder});
        recorder.stop();
        Replay replay;
        EXPECT_EQ(readReplay(path.string(), replay, error), ReplayRead::read) << error;
        std::filesystem::remove(path);
        return replay;
    }
};

TEST_F(ReplayInTheWindowTest, EscapeEndsAReplayOnAPictureThatWouldShowForEver) {
    Replay replay = recordAWonGame();
    ASSERT_EQ(replay.games.size(), 1u);
    ASSERT_TRUE(replay.games[0].end);
    replay.games[0].end->passes = int64_t{1} << 40;
    // The player's own hands: nothing for two passes, then Escape.
    ScriptedSource hands({Controls{}, Controls{}, held(&Controls::quit)}, false);
    ReplayPlayer player(std::move(replay), &hands);
    EventLog listener(log);
    const auto start = player.nextGame();
    ASSERT_TRUE(start);
    EXPECT_EQ(runLoop(LoopStart::game(*start), player, {&listener}), LoopEnd::sourceDone);
    EXPECT_TRUE(player.quitByPlayer());
    EXPECT_FALSE(player.divergence());
    EXPECT_EQ(log, (std::vector<std::string>{"step", "won shown", "ended: source done"}));
    EXPECT_FALSE(player.nextGame()) << "nothing more is played once the player quit";
}

TEST_F(ReplayInTheWindowTest, ReturnDismissesAReplayedPictureEarly) {
    Replay replay = recordAWonGame();
    ASSERT_EQ(replay.games.size(), 1u);
    replay.games[0].end->passes = int64_t{1} << 40;
    ScriptedSource hands({Controls{}, held(&Controls::confirm)}, false);
    ReplayPlayer player(std::move(replay), &hands);
    EventLog listener(log);
    const auto start = player.nextGame();
    ASSERT_TRUE(start);
    EXPECT_EQ(runLoop(LoopStart::game(*start), player, {&listener}), LoopEnd::sourceDone);
    EXPECT_FALSE(player.quitByPlayer());
    EXPECT_FALSE(player.divergence());
    EXPECT_EQ(log, (std::vector<std::string>{"step", "won shown", "dismissed after 2",
                                             "ended: source done"}));
}

TEST_F(ReplayInTheWindowTest, AReplayedGameEndsWhereItWasRecorded) {
    Replay replay = recordAWonGame();
    ASSERT_EQ(replay.games.size(), 1u);
    ScriptedSource hands({}, false);
    ReplayPlayer player(std::move(replay), &hands);
    EventLog listener(log);
    const auto start = player.nextGame();
    ASSERT_TRUE(start);
    EXPECT_EQ(start->random, 4242u);
    runLoop(LoopStart::game(*start), player, {&listener});
    EXPECT_FALSE(player.divergence());
    EXPECT_EQ(log, (std::vector<std::string>{"step", "won shown", "dismissed after 3",
                                             "ended: source done"}));
}

}  // namespace
