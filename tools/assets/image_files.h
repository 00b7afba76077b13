#pragma once
// Picture files: the game's own 24-bit BMPs and the PNG contact sheet.

#include <string>

#include "canvas.h"

// Uncompressed 24-bit bottom-up BMP. False when the file cannot be written.
bool writeBmp(const std::string& path, const Image& image);

// Uncompressed (stored deflate) 24-bit PNG. False when the file cannot be written.
bool writePng(const std::string& path, const Image& image);
