#pragma once
// The lettering of the program's own screens (the settings screen), drawn
// by the asset generator at build time in the game's look.
#include <cstdint>
#include <string_view>

#include "platform/platform.h"
enum class TextSize { normal, large };  // normal: rows (about 18 px high); large: the heading
// Loads the lettering picture once (from the game module); false, with a
// warning through platform::warn, when it is missing or broken. Idempotent.
bool loadScreenFont();
void releaseScreenFont();
int textWidth(std::string_view text, TextSize size = TextSize::normal);
int textHeight(TextSize size = TextSize::normal);
// Top-left at (x, y), colour in the display's 5-6-5, antialiased over what
// is there, clipped to the surface; bytes outside printable ASCII show as '?'.
void drawText(platform::Surface& target, int x, int y, std::string_view text, uint16_t colour,
              TextSize size = TextSize::normal);
// Panels and the highlighted row: a plain rectangle and one mixed over what
// is there at opacity 0 (nothing) to 255 (plain); clipped.
void fillRect(platform::Surface& target, int x, int y, int width, int height, uint16_t colour);
void shadeRect(platform::Surface& target, int x, int y, int width, int height, uint16_t colour,
               int opacity);
