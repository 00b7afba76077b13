#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

FT_Library library = nullptr;
FT_Face faces[2] = {nullptr, nullptr};

FT_Face face(Font font, int size) {
    int index = font == Font::Bold ? 1 : 0;
    if (!library && FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "kordavan-assets: FreeType would not start\n");
        std::exit(1);
    }
    if (!faces[index]) {
        const char* path = font == Font::Bold ? KORDAVAN_FONT_BOLD : KORDAVAN_FONT_REGULAR;
        if (FT_New_Face(library, path, 0, &faces[index]) != 0) {
            std::fprintf(stderr, "kordavan-assets: cannot load font %s\n", path);
            std::exit(1);
        }
    }
    FT_Set_Pixel_Sizes(faces[index], 0, static_cast<FT_UInt>(size));
    return faces[index];
}

// Coverage of a line of text, in canvas coordinates from (left, top).
struct Mask {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<double> coverage;
};

Mask renderMask(std::string_view text, double x, double baseline, const TextLook& look) {
    FT_Face f = face(look.font, look.size);
    int pad = static_cast<int>(std::ceil(look.outlineRadius)) + 2;
    int ascent = static_cast<int>(f->size->metrics.ascender >> 6);
    int descent = static_cast<int>(-(f->size->metrics.descender >> 6));
    Mask mask;
    mask.left = static_cast<int>(std::floor(x)) - pad;
    mask.top = static_cast<int>(std::floor(baseline)) - ascent - pad;
    mask.width = static_cast<int>(std::ceil(textWidth(text, look))) + 2 * pad + look.size;
    mask.height = ascent + descent + 2 * pad;
    mask.coverage.assign(static_cast<size_t>(mask.width) * mask.height, 0.0);

    double penX = x - mask.left;
    int baseY = static_cast<int>(std::floor(baseline)) - mask.top;
    FT_UInt previous = 0;
    for (char ch : text) {
        FT_UInt glyph = FT_Get_Char_Index(f, static_cast<unsigned char>(ch));
        if (previous && glyph) {
            FT_Vector kerning;
            FT_Get_Kerning(f, previous, glyph, FT_KERNING_DEFAULT, &kerning);
            penX += kerning.x / 64.0;
        }
        previous = glyph;
        if (FT_Load_Glyph(f, glyph, FT_LOAD_RENDER) != 0) continue;
        const FT_Bitmap& bitmap = f->glyph->bitmap;
        int gx = static_cast<int>(std::lround(penX)) + f->glyph->bitmap_left;
        int gy = baseY - f->glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned col = 0; col < bitmap.width; ++col) {
                int mx = gx + static_cast<int>(col);
                int my = gy + static_cast<int>(row);
                if (mx < 0 || my < 0 || mx >= mask.width || my >= mask.height) continue;
                double value = bitmap.buffer[row * bitmap.pitch + col] / 255.0;
                double& cell = mask.coverage[static_cast<size_t>(my) * mask.width + mx];
                cell = std::max(cell, value);
            }
        }
        penX += f->glyph->advance.x / 64.0;
    }
    return mask;
}

// The text grown by `radius` in every direction, softened at its rim.
Mask dilate(const Mask& mask, double radius) {
    Mask out = mask;
    int r = static_cast<int>(std::ceil(radius));
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            double best = 0;
            for (int dy = -r; dy <= r; ++dy) {
                for (int dx = -r; dx <= r; ++dx) {
                    int sx = x + dx;
                    int sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= mask.width || sy >= mask.height) continue;
                    double reach = clamp01(radius + 0.5 - std::hypot(dx, dy));
                    best = std::max(
                        best, mask.coverage[static_cast<size_t>(sy) * mask.width + sx] * reach);
                }
            }
            out.coverage[static_cast<size_t>(y) * mask.width + x] = best;
        }
    }
    return out;
}

void paintMask(Canvas& canvas, const Mask& mask, Rgb colour) {
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            blendPixel(canvas, mask.left + x, mask.top + y, colour,
                       mask.coverage[static_cast<size_t>(y) * mask.width + x]);
}

}  // namespace

double textWidth(std::string_view text, const TextLook& look) {
    FT_Face f = face(look.font, look.size);
    double width = 0;
    FT_UInt previous = 0;
    for (char ch : text) {
        FT_UInt glyph = FT_Get_Char_Index(f, static_cast<unsigned char>(ch));
        if (previous && glyph) {
            FT_Vector kerning;
            FT_Get_Kerning(f, previous, glyph, FT_KERNING_DEFAULT, &kerning);
            width += kerning.x / 64.0;
        }
        previous = glyph;
        if (FT_Load_Glyph(f, glyph, FT_LOAD_DEFAULT) != 0) continue;
        width += f->glyph->advance.x / 64.0;
    }
    return width;
}

void drawText(Canvas& canvas, std::string_view text, double x, double baseline,
              const TextLook& look) {
    Mask mask = renderMask(text, x, baseline, look);
    if (look.outlineRadius > 0) paintMask(canvas, dilate(mask, look.outlineRadius), look.outline);
    paintMask(canvas, mask, look.fill);
}

void drawTextCentred(Canvas& canvas, std::string_view text, double centreX, double baseline,
                     const TextLook& look) {
    drawText(canvas, text, std::round(centreX - textWidth(text, look) / 2), baseline, look);
}

void closeFonts() {
    for (FT_Face& f : faces) {
        if (f) FT_Done_Face(f);
        f = nullptr;
    }
    if (library) FT_Done_FreeType(library);
    library = nullptr;
}
