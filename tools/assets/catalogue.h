#pragma once
// Every picture and sound the game carries, by resource id, with the exact
// size the game expects.

#include <string>
#include <vector>

#include "canvas.h"
#include "formats/resource_ids.h"

struct PictureEntry {
    int id;
    int width;
    int height;
    const char* what;
};

// What a sound is to the mix decides how loud it is mastered.
enum class SoundKind { effect, engine, music };

struct SoundEntry {
    int id;
    int sampleBytes;
    bool loops;
    SoundKind kind;
    const char* what;
};

// Integrated loudness in LUFS: the effects level with each other, the music
// sits under them and the rotor, playing all through the game, under both.
double targetLoudness(SoundKind kind);

const std::vector<PictureEntry>& pictureCatalogue();
const std::vector<SoundEntry>& soundCatalogue();
const PictureEntry* findPicture(int id);
const SoundEntry* findSound(int id);

// The window icon travels with the pictures but is not one of the game's bitmaps.
constexpr int iconId = resource::icoWindow;

struct Picture {
    int id;
    Canvas canvas;
};

struct Sound {
    int id;
    std::vector<double> samples;  // -1..1, exactly the catalogue length
};

// Each group of pictures and sounds lives in its own file.
void addTerrain(std::vector<Picture>& out);
void addSky(std::vector<Picture>& out);
void addHelicopter(std::vector<Picture>& out);
void addSprites(std::vector<Picture>& out);
void addHazards(std::vector<Picture>& out);
void addExplosion(std::vector<Picture>& out);
void addHud(std::vector<Picture>& out);
void addScreens(std::vector<Picture>& out);
void addCredits(std::vector<Picture>& out);
void addScreenFont(std::vector<Picture>& out);
void addEffects(std::vector<Sound>& out);
void addMusic(std::vector<Sound>& out);
