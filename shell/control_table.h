#pragma once
// Every control once: its name in the settings file (key-<name>,
// pad-<name>) and on the settings screen, the member of the controls record
// it sets, and the keys and pad buttons it has until the player says
// otherwise. The bindings, the settings file's lines, the settings screen's
// rows and the help's keys all walk this table; the word a replay writes for
// a game control is the game's own (game/controls.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "game/controls.h"

struct ControlRow {
    std::string_view name;
    bool Controls::*member;
    // As the settings file writes them, ", " between two.
    std::string_view keys;
    std::string_view pads;
};

// Start stands for Space on the title and for Return on the end pictures,
// Back for Escape; Y is free for the screenshot, and the right shoulder for
// the settings screen (B closes it again).
inline constexpr ControlRow controlTable[] = {
    {"left", &Controls::left, "Left", "Left"},
    {"right", &Controls::right, "Right", "Right"},
    {"up", &Controls::up, "Up", "Up"},
    {"down", &Controls::down, "Down", "Down"},
    {"land", &Controls::land, "L", "A"},
    {"pause", &Controls::pause, "P, Pause", "X"},
    {"start", &Controls::start, "Space", "Start"},
    {"confirm", &Controls::confirm, "Return", "Start"},
    {"quit", &Controls::quit, "Escape", "Back"},
    {"screenshot", &Controls::screenshot, "F12", "Y"},
    {"settings", &Controls::settings, "O", "RB"},
};

inline constexpr size_t controlCount = std::size(controlTable);

// The control names, in the table's order.
const std::array<std::string_view, controlCount>& controlNames();
// "left right up down ...", for messages.
std::string controlNameList();
// The row of a name (any case); controlCount for none.
size_t controlIndex(std::string_view name);
// A control's name as the screen shows it: "Left", "Screenshot".
std::string controlLabel(size_t control);
// The first of a control's default keys: the key a key script presses for it.
uint8_t defaultKey(bool Controls::*member);
