#pragma once
// Text drawn with FreeType from the DejaVu fonts found when the build was
// configured. Glyphs are antialiased; outlined text keeps that antialiasing
// against its own dark outline, so it reads over anything, even the key.

#include <string_view>

#include "canvas.h"

enum class Font { Regular, Bold };

struct TextLook {
    Font font = Font::Bold;
    int size = 16;  // pixel height of the em square
    Rgb fill = rgb(255, 255, 255);
    Rgb outline = rgb(0, 0, 0);
    double outlineRadius = 0;  // 0 draws no outline
};

// Width in pixels of the text's advance.
double textWidth(std::string_view text, const TextLook& look);

// Draws with the baseline at `baseline`, the text starting at `x`.
void drawText(Canvas& canvas, std::string_view text, double x, double baseline,
              const TextLook& look);
void drawTextCentred(Canvas& canvas, std::string_view text, double centreX, double baseline,
                     const TextLook& look);

// Drops FreeType's state; called once at exit. Ends the program with a
// message when a font cannot be loaded.
void closeFonts();
