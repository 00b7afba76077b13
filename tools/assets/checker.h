#pragma once
// Checks a picture or sound a player brings to replace a generated one.

#include <string>

// True when the file can stand in for the game's own: a 24-bit uncompressed
// BMP of the size its id needs, or 8-bit mono 22050 Hz PCM WAVE. Otherwise
// prints what is wrong, naming the file, and answers false.
bool checkUserFile(const std::string& path);
