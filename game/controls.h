#pragma once
// What the player holds at one poll, whatever the device, and the rules that
// turn it into the helicopter's motion.

#include <string>
#include <string_view>

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
// script write for it, and the member of the record it sets. Which keys and
// pad buttons stand for them is the shell's business, not the game's.
struct ControlWord {
    const char* word;
    bool Controls::*member;
};

inline constexpr ControlWord controlWords[] = {
    {"LEFT", &Controls::left},      {"RIGHT", &Controls::right}, {"UP", &Controls::up},
    {"DOWN", &Controls::down},      {"L", &Controls::land},      {"SPACE", &Controls::start},
    {"RETURN", &Controls::confirm}, {"ESCAPE", &Controls::quit},
};

// The row of a word, in any case; null for any other word.
const ControlWord* findControlWord(std::string_view word);
// The row of a member; null for the loop's own (pause, screenshot, settings).
const ControlWord* findControlWord(bool Controls::*member);
// "LEFT RIGHT UP DOWN L SPACE RETURN ESCAPE", for messages.
std::string controlWordList();
