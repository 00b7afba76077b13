// The keys every desktop handles before the game sees them: Alt+Enter and
// F11 switch the display, the Return of Alt+Enter is held back until it is
// let go, and a Pause too quick for any snapshot is still seen once.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/key_events.h"
#include "platform/platform.h"

namespace {

using namespace platform;

class KeyboardMachineKeys : public ::testing::Test {
  protected:
    // A snapshot in which `held` is down, as the system reports it, after
    // the machine's keys have had their say.
    uint8_t seen(uint8_t dik, bool held) {
        uint8_t state[256];
        std::memset(state, 0, sizeof state);
        if (held) state[dik] = 0x80;
        keys.adjustSnapshot(state);
        return state[dik];
    }
    void press(uint8_t dik, bool alt = false) { keys.keyChanged(dik, true, false, alt); }
    void repeat(uint8_t dik, bool alt = false) { keys.keyChanged(dik, true, true, alt); }
    void letGo(uint8_t dik) { keys.keyChanged(dik, false, false, false); }

    MachineKeys keys;
};

TEST_F(KeyboardMachineKeys, AltEnterAsksForOneSwitch) {
    press(DIK_RETURN, true);
    EXPECT_TRUE(keys.takeSwitch());
    EXPECT_FALSE(keys.takeSwitch());
}

TEST_F(KeyboardMachineKeys, TheReturnOfAltEnterIsHeldBackUntilLetGo) {
    press(DIK_RETURN, true);
    EXPECT_EQ(seen(DIK_RETURN, true), 0);
    repeat(DIK_RETURN, true);
    EXPECT_EQ(seen(DIK_RETURN, true), 0);
    letGo(DIK_RETURN);
    EXPECT_EQ(seen(DIK_RETURN, false), 0);
    press(DIK_RETURN);
    EXPECT_EQ(seen(DIK_RETURN, true), 0x80) << "the next Return is the game's again";
}

TEST_F(KeyboardMachineKeys, LettingGoOfAltFirstStillHoldsTheReturnBack) {
    press(DIK_LMENU);
    press(DIK_RETURN, true);
    letGo(DIK_LMENU);
    repeat(DIK_RETURN, false);
    EXPECT_EQ(seen(DIK_RETURN, true), 0);
    EXPECT_TRUE(keys.takeSwitch());
    EXPECT_FALSE(keys.takeSwitch()) << "a held Return switches once";
}

TEST_F(KeyboardMachineKeys, ARepeatedAltEnterSwitchesOnlyOnce) {
    press(DIK_RETURN, true);
    repeat(DIK_RETURN, true);
    repeat(DIK_RETURN, true);
    EXPECT_TRUE(keys.takeSwitch());
    EXPECT_FALSE(keys.takeSwitch());
}

TEST_F(KeyboardMachineKeys, ReturnAloneIsTheGamesAndSwitchesNothing) {
    press(DIK_RETURN);
    EXPECT_EQ(seen(DIK_RETURN, true), 0x80);
    EXPECT_FALSE(keys.takeSwitch());
}

TEST_F(KeyboardMachineKeys, TheKeypadEnterIsNotTheReturnOfAltEnter) {
    press(DIK_NUMPADENTER, true);
    EXPECT_FALSE(keys.takeSwitch());
    EXPECT_EQ(seen(DIK_NUMPADENTER, true), 0x80);
}

TEST_F(KeyboardMachineKeys, F11SwitchesOnceHoweverLongItIsHeld) {
    press(DIK_F11);
    repeat(DIK_F11);
    EXPECT_TRUE(keys.takeSwitch());
    repeat(DIK_F11);
    EXPECT_FALSE(keys.takeSwitch());
    letGo(DIK_F11);
    press(DIK_F11);
    EXPECT_TRUE(keys.takeSwitch());
}

TEST_F(KeyboardMachineKeys, APauseTooQuickForAnySnapshotIsSeenOnce) {
    press(DIK_PAUSE);
    letGo(DIK_PAUSE);
    EXPECT_EQ(seen(DIK_PAUSE, false), 0x80);
    EXPECT_EQ(seen(DIK_PAUSE, false), 0);
}

TEST_F(KeyboardMachineKeys, AHeldPauseStaysHeld) {
    press(DIK_PAUSE);
    EXPECT_EQ(seen(DIK_PAUSE, true), 0x80);
    EXPECT_EQ(seen(DIK_PAUSE, true), 0x80);
}

TEST_F(KeyboardMachineKeys, LosingTheFocusEndsTheHoldOnReturn) {
    press(DIK_RETURN, true);
    keys.focusLost();
    press(DIK_RETURN);
    EXPECT_EQ(seen(DIK_RETURN, true), 0x80);
}

TEST_F(KeyboardMachineKeys, AResetForgetsEverything) {
    press(DIK_RETURN, true);
    press(DIK_PAUSE);
    keys.reset();
    EXPECT_FALSE(keys.takeSwitch());
    EXPECT_EQ(seen(DIK_RETURN, true), 0x80);
    EXPECT_EQ(seen(DIK_PAUSE, false), 0);
}

}  // namespace
