// Which scan code the game sees for each key SDL reports.

#include <SDL.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/platform.h"
#include "platform/sdl/keymap.h"

namespace {

using platform::sdl::dikFromScancode;
using namespace platform;

TEST(SdlKeymap, TheGameKeysArriveUnderTheirOwnScanCodes) {
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_ESCAPE), 0x01);
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_RETURN), 0x1C);
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_L), 0x26);
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_SPACE), 0x39);
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_UP), 0xC8);
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_LEFT), 0xCB);
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_RIGHT), 0xCD);
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_DOWN), 0xD0);
}

TEST(SdlKeymap, LettersFollowTheKeyboardRowsNotTheAlphabet) {
    const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    const uint8_t firsts[] = {0x10, 0x1E, 0x2C};
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; rows[row][i] != '\0'; ++i) {
            const auto scancode = SDL_SCANCODE_A + (rows[row][i] - 'A');
            EXPECT_EQ(dikFromScancode(scancode), firsts[row] + i) << rows[row][i];
        }
    }
}

TEST(SdlKeymap, DigitsAndFunctionKeys) {
    for (int d = 1; d <= 9; ++d) {
        EXPECT_EQ(dikFromScancode(SDL_SCANCODE_1 + d - 1), DIK_1 + d - 1) << d;
    }
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_0), DIK_0);
    for (int f = 1; f <= 10; ++f) {
        EXPECT_EQ(dikFromScancode(SDL_SCANCODE_F1 + f - 1), DIK_F1 + f - 1) << f;
    }
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_F11), DIK_F11);
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_F12), DIK_F12);
}

TEST(SdlKeymap, ModifiersEditingKeysAndKeypad) {
    const std::map<SDL_Scancode, uint8_t> sample = {
        {SDL_SCANCODE_TAB, DIK_TAB},
        {SDL_SCANCODE_BACKSPACE, DIK_BACK},
        {SDL_SCANCODE_LSHIFT, DIK_LSHIFT},
        {SDL_SCANCODE_RSHIFT, DIK_RSHIFT},
        {SDL_SCANCODE_LCTRL, DIK_LCONTROL},
        {SDL_SCANCODE_RCTRL, DIK_RCONTROL},
        {SDL_SCANCODE_LALT, DIK_LMENU},
        {SDL_SCANCODE_RALT, DIK_RMENU},
        {SDL_SCANCODE_HOME, DIK_HOME},
        {SDL_SCANCODE_END, DIK_END},
        {SDL_SCANCODE_PAGEUP, DIK_PRIOR},
        {SDL_SCANCODE_PAGEDOWN, DIK_NEXT},
        {SDL_SCANCODE_INSERT, DIK_INSERT},
        {SDL_SCANCODE_DELETE, DIK_DELETE},
        {SDL_SCANCODE_MINUS, DIK_MINUS},
        {SDL_SCANCODE_EQUALS, DIK_EQUALS},
        {SDL_SCANCODE_COMMA, DIK_COMMA},
        {SDL_SCANCODE_PERIOD, DIK_PERIOD},
        {SDL_SCANCODE_SLASH, DIK_SLASH},
        {SDL_SCANCODE_SEMICOLON, DIK_SEMICOLON},
        {SDL_SCANCODE_GRAVE, DIK_GRAVE},
        {SDL_SCANCODE_APOSTROPHE, DIK_APOSTROPHE},
        {SDL_SCANCODE_KP_0, DIK_NUMPAD0},
        {SDL_SCANCODE_KP_5, DIK_NUMPAD5},
        {SDL_SCANCODE_KP_9, DIK_NUMPAD9},
        {SDL_SCANCODE_KP_ENTER, DIK_NUMPADENTER},
        {SDL_SCANCODE_KP_PLUS, DIK_ADD},
        {SDL_SCANCODE_KP_MINUS, DIK_SUBTRACT},
        {SDL_SCANCODE_KP_MULTIPLY, DIK_MULTIPLY},
        {SDL_SCANCODE_KP_DIVIDE, DIK_DIVIDE},
        {SDL_SCANCODE_KP_PERIOD, DIK_DECIMAL},
        {SDL_SCANCODE_NUMLOCKCLEAR, DIK_NUMLOCK},
        {SDL_SCANCODE_CAPSLOCK, DIK_CAPITAL},
        {SDL_SCANCODE_SCROLLLOCK, DIK_SCROLL},
        {SDL_SCANCODE_LGUI, DIK_LWIN},
        {SDL_SCANCODE_RGUI, DIK_RWIN},
    };
    for (const auto& [scancode, dik] : sample) {
        EXPECT_EQ(dikFromScancode(scancode), dik) << SDL_GetScancodeName(scancode);
    }
}

TEST(SdlKeymap, EveryNamedScanCodeHasAKey) {
    // Each value platform.h names must be reachable from some SDL key.
    const uint8_t named[] = {
        DIK_ESCAPE,    DIK_1,           DIK_2,         DIK_3,          DIK_4,        DIK_5,
        DIK_6,         DIK_7,           DIK_8,         DIK_9,          DIK_0,        DIK_MINUS,
        DIK_EQUALS,    DIK_BACK,        DIK_TAB,       DIK_Q,          DIK_W,        DIK_E,
        DIK_R,         DIK_T,           DIK_Y,         DIK_U,          DIK_I,        DIK_O,
        DIK_P,         DIK_LBRACKET,    DIK_RBRACKET,  DIK_RETURN,     DIK_LCONTROL, DIK_A,
        DIK_S,         DIK_D,           DIK_F,         DIK_G,          DIK_H,        DIK_J,
        DIK_K,         DIK_L,           DIK_SEMICOLON, DIK_APOSTROPHE, DIK_GRAVE,    DIK_LSHIFT,
        DIK_BACKSLASH, DIK_Z,           DIK_X,         DIK_C,          DIK_V,        DIK_B,
        DIK_N,         DIK_M,           DIK_COMMA,     DIK_PERIOD,     DIK_SLASH,    DIK_RSHIFT,
        DIK_MULTIPLY,  DIK_LMENU,       DIK_SPACE,     DIK_CAPITAL,    DIK_F1,       DIK_F2,
        DIK_F3,        DIK_F4,          DIK_F5,        DIK_F6,         DIK_F7,       DIK_F8,
        DIK_F9,        DIK_F10,         DIK_NUMLOCK,   DIK_SCROLL,     DIK_NUMPAD7,  DIK_NUMPAD8,
        DIK_NUMPAD9,   DIK_SUBTRACT,    DIK_NUMPAD4,   DIK_NUMPAD5,    DIK_NUMPAD6,  DIK_ADD,
        DIK_NUMPAD1,   DIK_NUMPAD2,     DIK_NUMPAD3,   DIK_NUMPAD0,    DIK_DECIMAL,  DIK_F11,
        DIK_F12,       DIK_NUMPADENTER, DIK_RCONTROL,  DIK_DIVIDE,     DIK_RMENU,    DIK_HOME,
        DIK_UP,        DIK_PRIOR,       DIK_LEFT,      DIK_RIGHT,      DIK_END,      DIK_DOWN,
        DIK_NEXT,      DIK_INSERT,      DIK_DELETE,    DIK_LWIN,       DIK_RWIN,
    };
    std::set<uint8_t> reached;
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) reached.insert(dikFromScancode(s));
    for (uint8_t dik : named) EXPECT_TRUE(reached.count(dik)) << std::hex << int{dik};
}

TEST(SdlKeymap, NoTwoKeysShareAScanCodeExceptTheIsoBackslash) {
    std::map<uint8_t, std::vector<int>> byDik;
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
        if (const uint8_t dik = dikFromScancode(s)) byDik[dik].push_back(s);
    }
    for (const auto& [dik, scancodes] : byDik) {
        if (dik == DIK_BACKSLASH) {
            // US backslash and the ISO key in the same place are one key to the game.
            EXPECT_EQ(scancodes,
                      (std::vector<int>{SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_NONUSHASH}));
        } else {
            EXPECT_EQ(scancodes.size(), 1u) << "scan code " << std::hex << int{dik};
        }
    }
}

TEST(SdlKeymap, KeysTheGameNeverHadGiveZero) {
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_MUTE), 0);
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_AUDIONEXT), 0);
    EXPECT_EQ(dikFromScancode(SDL_SCANCODE_F24), 0);
    EXPECT_EQ(dikFromScancode(-1), 0);
    EXPECT_EQ(dikFromScancode(SDL_NUM_SCANCODES), 0);
    EXPECT_EQ(dikFromScancode(100000), 0);
}

}  // namespace
