#include "contact_sheet.h"

#include <algorithm>

#include "image_files.h"
#include "key_rules.h"
#include "text.h"

namespace {

constexpr int sheetWidth = 1960;
constexpr int gap = 10;
constexpr int labelHeight = 16;
const Rgb grey = rgb(112, 112, 116);

// The order pictures are reviewed in: screens, then the world from sky to
// ground with the terrain segments in their order on the course, then the
// sprites.
const int reviewOrder[] = {151, 153, 152, 155, 154, 117, 118, 107, 106, 105, 137, 156, 136,
                           123, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135, 104,
                           150, 167, 169, 165, 158, 159, 160, 161, 162, 163, 164, 157, 108,
                           109, 110, 111, 112, 113, 114, 120, 121, 124, 139, 103, 122};

int rank(int id) {
    auto at = std::find(std::begin(reviewOrder), std::end(reviewOrder), id);
    return static_cast<int>(at - std::begin(reviewOrder));
}

struct Placement {
    const SheetEntry* entry;
    int x;
    int y;
};

}  // namespace

bool writeContactSheet(const std::string& path, const std::vector<SheetEntry>& entries) {
    std::vector<const SheetEntry*> ordered;
    for (const SheetEntry& e : entries) ordered.push_back(&e);
    std::stable_sort(ordered.begin(), ordered.end(), [](const SheetEntry* a, const SheetEntry* b) {
        return rank(a->id) < rank(b->id);
    });

    // Shelf packing: left to right, a new row when the next one does not fit.
    std::vector<Placement> placements;
    int x = gap;
    int y = gap;
    int rowHeight = 0;
    for (const SheetEntry* e : ordered) {
        if (x + e->image.width + gap > sheetWidth) {
            x = gap;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        placements.push_back({e, x, y + labelHeight});
        x += std::max(e->image.width, 40) + gap;
        rowHeight = std::max(rowHeight, e->image.height + labelHeight);
    }
    int height = y + rowHeight + gap;

    Canvas sheet = makeCanvas(sheetWidth, height, grey);
    TextLook label{Font::Regular, 11, rgb(240, 240, 240), rgb(0, 0, 0), 0};
    for (const Placement& p : placements) {
        drawText(sheet, std::to_string(p.entry->id), p.x, p.y - 4, label);
        const Image& image = p.entry->image;
        for (int iy = 0; iy < image.height; ++iy) {
            for (int ix = 0; ix < image.width; ++ix) {
                const uint8_t* c = &image.rgb[(static_cast<size_t>(iy) * image.width + ix) * 3];
                if (isKey(c)) continue;  // the grey shows through where the game sees through
                pixelAt(sheet, p.x + ix, p.y + iy) = {rgb(c[0], c[1], c[2]), 1.0};
            }
        }
    }
    return writePng(path, toKeyedImage(sheet));
}
