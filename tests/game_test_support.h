#pragma once
// A headless machine with every picture and sound loaded, the game at its
// start values, and a record of what a phase draws and plays.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/startup.h"
#include "game/game_state.h"
#include "game/random.h"
#include "gfx/surfaces.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace game_test {

struct DrawCall {
    const Surface* surface;
    Rect source;
    int x;
    int y;
};

struct SoundCall {
    bool play;
    const platform::SoundBuffer* sound;
    uint32_t flags;
};

inline std::vector<DrawCall>& drawCalls() {
    static std::vector<DrawCall> calls;
    return calls;
}

inline std::vector<SoundCall>& soundCalls() {
    static std::vector<SoundCall> calls;
    return calls;
}

inline void recordDraw(const Surface* surface, const Rect& source, int x, int y) {
    drawCalls().push_back({surface, source, x, y});
}

inline void recordSound(bool play, const platform::SoundBuffer* sound, uint32_t flags) {
    soundCalls().push_back({play, sound, flags});
}

// The draws of one surface, in order.
inline std::vector<DrawCall> drawsOf(const Surface* surface) {
    std::vector<DrawCall> found;
    for (const DrawCall& call : drawCalls()) {
        if (call.surface == surface) found.push_back(call);
    }
    return found;
}

// Draws of any of the surfaces of an array such as surfWalker.
template <size_t n>
std::vector<DrawCall> drawsOfAny(Surface* (&surfaces)[n]) {
    std::vector<DrawCall> found;
    for (const DrawCall& call : drawCalls()) {
        for (Surface* surface : surfaces) {
            if (call.surface == surface) found.push_back(call);
        }
    }
    return found;
}

inline int playsOf(const platform::SoundBuffer* sound) {
    int count = 0;
    for (const SoundCall& call : soundCalls()) {
        if (call.play && call.sound == sound) ++count;
    }
    return count;
}

inline int stopsOf(const platform::SoundBuffer* sound) {
    int count = 0;
    for (const SoundCall& call : soundCalls()) {
        if (!call.play && call.sound == sound) ++count;
    }
    return count;
}

// The draw of a surface with that source rectangle at (x, y).
inline ::testing::AssertionResult isDraw(const DrawCall& call, const Surface* surface, Rect source,
                                         int x, int y) {
    if (call.surface == surface && call.source.left == source.left &&
        call.source.top == source.top && call.source.right == source.right &&
        call.source.bottom == source.bottom && call.x == x && call.y == y) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "drew " << surfaceName(call.surface) << " {" << call.source.left << ", "
           << call.source.top << ", " << call.source.right << ", " << call.source.bottom << "} at ("
           << call.x << ", " << call.y << "), expected " << surfaceName(surface) << " {"
           << source.left << ", " << source.top << ", " << source.right << ", " << source.bottom
           << "} at (" << x << ", " << y << ")";
}

// Every test starts from the program's start values on a machine that has
// been through the real start-up, so every surface and sound exists.
class GameTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        platform::headless::use();
        appWindow = nullptr;
        errorMessage = nullptr;
        started = initApplication(platform::gameModule(), 1) == 1;
    }

    // Destroying the window tears everything down, as Escape would.
    static void TearDownTestSuite() {
        shutdownApp();
        platform::destroyWindow(appWindow);
        appWindow = nullptr;
        platform::headless::use();
    }

    void SetUp() override {
        ASSERT_TRUE(started) << "start-up failed";
        game = GameState{};
        randomState = 1;
        platform::headless::setKeys({});
        drawCalls().clear();
        soundCalls().clear();
        setDrawObserver(recordDraw);
        setSoundObserver(recordSound);
    }

    void TearDown() override {
        setDrawObserver(nullptr);
        setSoundObserver(nullptr);
        game = GameState{};
    }

    static inline bool started = false;
};

}  // namespace game_test
