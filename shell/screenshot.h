#pragma once
// Screenshots: the frame on screen, kept as a PNG picture in the player's
// pictures folder, $XDG_PICTURES_DIR/Kordavan/ as xdg-user-dirs names it
// (~/Pictures/Kordavan/ without it), named by the date and time.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"

// The picture as PNG file bytes (8-bit RGB); empty when the encoder fails.
std::vector<uint8_t> encodePng(const platform::Surface& frame);

// The folder the pictures go to: Kordavan in the machine's pictures folder;
// empty when there is none.
std::filesystem::path screenshotFolder();

// Writes the picture into the folder (made when missing) under a name from
// the time, never over another file, and never seen half written. The path written, or empty with
// the reason in error.
std::filesystem::path saveScreenshotFile(const std::vector<uint8_t>& png,
                                         const std::filesystem::path& folder, std::time_t when,
                                         std::string& error);

// The frame now on screen, saved; one line on standard error when that fails.
void saveScreenshot();
