#pragma once
// What kordavan-trace prints and writes: one JSON line per step, and the
// screen of each step as a BMP file.

#include <cstdint>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "platform/platform.h"

struct DrawRecord {
    std::string surface;  // "surfTerrain[0]", "surfMoon", ...
    platform::Rect source;
    int32_t x;
    int32_t y;
};

struct SoundRecord {
    bool play;          // false for stopLooping
    std::string sound;  // "snd142", ...
    uint32_t flags;     // of a play
};

// Every GameState field by name; doubles in their shortest exact form.
std::string stateJson(const GameState& state);

// {"step":n,"ret":r,"state":{...}} with "draws" and "sounds" when given.
std::string stepJson(int64_t step, int result, const GameState& state,
                     const std::vector<DrawRecord>* draws, const std::vector<SoundRecord>* sounds);

// The screen as a 24-bit BMP file; false with a message naming the file when
// it cannot be written.
bool writeScreenBmp(const std::string& path, const platform::Surface& screen, std::string& error);
