// Gamepads through SDL's game controller layer, played by SDL's virtual
// joysticks: what each control gives, the stick's dead zone, several pads at
// once, and pads plugged in and pulled out while the game runs.

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl_backend.h"
#include "tests/sdl_test_support.h"

namespace {

using namespace platform;
using sdltest::EnvVar;

const Module noIcon{};

// A pad as the player holds it: plugged in with a full set of controls.
class VirtualPad {
  public:
    VirtualPad() {
        SDL_VirtualJoystickDesc description{};
        description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        description.naxes = SDL_CONTROLLER_AXIS_MAX;
        description.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        description.name = "Kordavan test pad";
        const int index = SDL_JoystickAttachVirtualEx(&description);
        if (index >= 0) {
            id = SDL_JoystickGetDeviceInstanceID(index);
            joystick = SDL_JoystickOpen(index);
        }
    }
    ~VirtualPad() {
        pullOut();
        if (joystick != nullptr) SDL_JoystickClose(joystick);
    }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool plugged() const { return joystick != nullptr; }
    // Virtual controls are numbered as the game controller layer names them.
    void press(SDL_GameControllerButton button, bool down = true) {
        SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
    }
    void tilt(SDL_GameControllerAxis axis, Sint16 value) {
        SDL_JoystickSetVirtualAxis(joystick, axis, value);
    }
    void pullOut() {
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) == id) {
                SDL_JoystickDetachVirtual(index);
                return;
            }
        }
    }

  private:
    SDL_JoystickID id = -1;
    SDL_Joystick* joystick = nullptr;
};

std::string describe(const PadState& pad) {
    std::string held;
    if (pad.left) held += "left ";
    if (pad.right) held += "right ";
    if (pad.up) held += "up ";
    if (pad.down) held += "down ";
    if (pad.south) held += "south ";
    if (pad.start) held += "start ";
    if (pad.back) held += "back ";
    return held.empty() ? "nothing" : held.substr(0, held.size() - 1);
}

class SdlGamepadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        useSdlBackend();
        ASSERT_TRUE(backend().startVideo(&noIcon, 139)) << SDL_GetError();
    }
    void TearDown() override {
        backend().stopVideo();
        EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
        headless::use();
    }
    std::string held() { return describe(readPad()); }

    EnvVar video{"SDL_VIDEODRIVER", "dummy"};
};

TEST_F(SdlGamepadTest, WithoutPadsNothingIsHeld) {
    EXPECT_EQ(held(), "nothing");
}

TEST_F(SdlGamepadTest, EachButtonTheGameUsesArrivesUnderItsOwnName) {
    VirtualPad pad;
    ASSERT_TRUE(pad.plugged()) << SDL_GetError();
    EXPECT_EQ(held(), "nothing");
    const std::pair<SDL_GameControllerButton, const char*> buttons[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, "left"}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, "right"},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, "up"},     {SDL_CONTROLLER_BUTTON_DPAD_DOWN, "down"},
        {SDL_CONTROLLER_BUTTON_A, "south"},        {SDL_CONTROLLER_BUTTON_START, "start"},
        {SDL_CONTROLLER_BUTTON_BACK, "back"},
    };
    for (const auto& [button, name] : buttons) {
        pad.press(button);
        EXPECT_EQ(held(), name);
        pad.press(button, false);
        EXPECT_EQ(held(), "nothing") << name;
    }
}

TEST_F(SdlGamepadTest, TheOtherButtonsMeanNothingToTheGame) {
    VirtualPad pad;
    ASSERT_TRUE(pad.plugged());
    for (auto button : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,
                        SDL_CONTROLLER_BUTTON_GUIDE, SDL_CONTROLLER_BUTTON_LEFTSHOULDER}) {
        pad.press(button);
    }
    pad.tilt(SDL_CONTROLLER_AXIS_RIGHTX, -32768);
    pad.tilt(SDL_CONTROLLER_AXIS_RIGHTY, 32767);
    EXPECT_EQ(held(), "nothing");
}

TEST_F(SdlGamepadTest, TheLeftStickFliesOutsideItsDeadZone) {
    VirtualPad pad;
    ASSERT_TRUE(pad.plugged());
    pad.tilt(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    EXPECT_EQ(held(), "left");
    pad.tilt(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    EXPECT_EQ(held(), "right");
    pad.tilt(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pad.tilt(SDL_CONTROLLER_AXIS_LEFTY, -20000);
    EXPECT_EQ(held(), "up");
    pad.tilt(SDL_CONTROLLER_AXIS_LEFTY, 20000);
    EXPECT_EQ(held(), "down");
    // Diagonals give both directions.
    pad.tilt(SDL_CONTROLLER_AXIS_LEFTX, -20000);
    EXPECT_EQ(held(), "left down");
}

TEST_F(SdlGamepadTest, AStickNearItsCentreFliesNowhere) {
    VirtualPad pad;
    ASSERT_TRUE(pad.plugged());
    for (Sint16 drift : {Sint16{3000}, Sint16{-3000}, Sint16{8000}, Sint16{-8000}}) {
        pad.tilt(SDL_CONTROLLER_AXIS_LEFTX, drift);
        pad.tilt(SDL_CONTROLLER_AXIS_LEFTY, drift);
        EXPECT_EQ(held(), "nothing") << drift;
    }
}

TEST_F(SdlGamepadTest, SeveralPadsPlayTogether) {
    VirtualPad first;
    VirtualPad second;
    ASSERT_TRUE(first.plugged());
    ASSERT_TRUE(second.plugged());
    first.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    second.press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(held(), "left south");
    first.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_EQ(held(), "south");
}

TEST_F(SdlGamepadTest, APadPulledOutLeavesNothingHeld) {
    VirtualPad stays;
    ASSERT_TRUE(stays.plugged());
    {
        VirtualPad leaves;
        ASSERT_TRUE(leaves.plugged());
        leaves.press(SDL_CONTROLLER_BUTTON_START);
        leaves.tilt(SDL_CONTROLLER_AXIS_LEFTX, -32768);
        EXPECT_EQ(held(), "left start");
        leaves.pullOut();
        EXPECT_EQ(held(), "nothing");
    }
    stays.press(SDL_CONTROLLER_BUTTON_BACK);
    EXPECT_EQ(held(), "back");
}

TEST_F(SdlGamepadTest, APadPluggedInWhileTheGameRunsIsReadAtOnce) {
    EXPECT_EQ(held(), "nothing");
    VirtualPad late;
    ASSERT_TRUE(late.plugged());
    late.press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(held(), "up");
    late.pullOut();
    EXPECT_EQ(held(), "nothing");
    VirtualPad again;
    again.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    EXPECT_EQ(held(), "right");
}

TEST(SdlGamepadWithoutVideo, ReadingBeforeStartUpGivesNothing) {
    useSdlBackend();
    EXPECT_EQ(describe(readPad()), "nothing");
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
    headless::use();
}

}  // namespace
