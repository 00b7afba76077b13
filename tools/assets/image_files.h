#pragma once
// Picture files: the game's own 24-bit BMPs, the PNG contact sheet and the
// desktop icons.

#include <string>

#include "canvas.h"

// Uncompressed 24-bit bottom-up BMP. False when the file cannot be written.
bool writeBmp(const std::string& path, const Image& image);

// 24-bit PNG. False when the file cannot be written.
bool writePng(const std::string& path, const Image& image);

// The same with the canvas's own coverage as an 8-bit alpha channel, for
// pictures shown by the desktop rather than the game: no colour key there.
bool writePngWithAlpha(const std::string& path, const Canvas& canvas);
