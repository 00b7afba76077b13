#pragma once
// Checks a picture or sound a player brings to replace a generated one.
//
// A file passes when it meets the rules below, which say in the player's own
// terms what is wrong. The pixels and samples are read by the game's own
// bitmap reader and WAVE chunk walk, so the build never takes a file the game
// would refuse or show differently.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// A picture as the rules read it: rows from the top, each pixel in the
// display's 16-bit format.
struct PictureReading {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;
};

// What is wrong with a bitmap file as a picture of that size, or nothing; a
// picture that passes is read into `reading`. Uncompressed 24-bit bottom-up
// BMPs with their pixels after the headers pass.
std::string pictureProblem(std::span<const uint8_t> bytes, int width, int height,
                           PictureReading& reading);

// What is wrong with a WAVE file as a sound of the game, or nothing; the
// samples of one that passes are copied into `samples`. 8-bit mono 22050 Hz
// PCM passes, with at least one and at most the game's most samples.
std::string soundProblem(std::span<const uint8_t> bytes, std::vector<uint8_t>& samples);

// The whole check of one file named <id>.bmp or <id>.wav: its name, the rules
// and the game's loaders. Nothing when the game can use it, else the reason.
std::string userFileProblem(const std::string& path);

// True when the file can stand in for the game's own. Otherwise prints what
// is wrong, naming the file, and answers false.
bool checkUserFile(const std::string& path);
