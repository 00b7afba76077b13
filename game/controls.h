#pragma once
// What the player holds at one poll, whatever the device, and the rules that
// turn it into the helicopter's motion.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

struct Controls {
    bool left = false;
    bool right = false;
    bool up = false;
    bool down = false;
    bool land = false;
    bool start = false;    // leaves the title for the loading sequence
    bool confirm = false;  // dismisses a won or lost picture
    bool quit = false;
    bool pause = false;       // the loop's, not the game's: play stops until it is pressed again
    bool screenshot = false;  // nor this: the frame on screen is saved as a picture
    bool settings = false;    // nor this: the settings screen opens over the title or the pause
};

// The arrows and the landing key, after each game step. Quitting is the
// loop's business.
void applyGameControls(const Controls& controls);

// The game's own eight controls, each once: the word a replay file and a key
// script write for it, the member of the record it sets, and the key the
// game reads for it when the settings name no other.
struct ControlWord {
    const char* word;
    bool Controls::*member;
    uint8_t key;
};

inline constexpr ControlWord controlWords[] = {
    {"LEFT", &Controls::left, platform::DIK_LEFT},
    {"RIGHT", &Controls::right, platform::DIK_RIGHT},
    {"UP", &Controls::up, platform::DIK_UP},
    {"DOWN", &Controls::down, platform::DIK_DOWN},
    {"L", &Controls::land, platform::DIK_L},
    {"SPACE", &Controls::start, platform::DIK_SPACE},
    {"RETURN", &Controls::confirm, platform::DIK_RETURN},
    {"ESCAPE", &Controls::quit, platform::DIK_ESCAPE},
};

// The row of a word, in any case; null for any other word.
const ControlWord* findControlWord(std::string_view word);
// The row of a member; null for the loop's own (pause, screenshot, settings).
const ControlWord* findControlWord(bool Controls::*member);
// "LEFT RIGHT UP DOWN L SPACE RETURN ESCAPE", for messages.
std::string controlWordList();
