#include "contact_sheet.h"

#include <algorithm>

#include "formats/resource_ids.h"
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
const int reviewOrder[] = {
    resource::bmpTitle,         resource::bmpCredits,    resource::bmpLoading,
    resource::bmpWin,           resource::bmpGameOver,   resource::bmpSkyLeft,
    resource::bmpSkyRight,      resource::bmpTerrain3,   resource::bmpTerrain2,
    resource::bmpTerrain1,      resource::bmpTerrain0,   resource::bmpMoon,
    resource::bmpHeliLeft1,     resource::bmpHeliLeft2,  resource::bmpHeliLeft3,
    resource::bmpHeliLeft4,     resource::bmpHeliLeft5,  resource::bmpHeliRight1,
    resource::bmpHeliRight2,    resource::bmpHeliRight3, resource::bmpHeliRight4,
    resource::bmpHeliRight5,    resource::bmpLauncherUp, resource::bmpLauncherLeft,
    resource::bmpLauncherRight, resource::bmpCrusher,    resource::bmpPillar,
    resource::bmpSubmarine,     resource::bmpRocket,     resource::bmpExplosion1,
    resource::bmpExplosion2,    resource::bmpExplosion3, resource::bmpExplosion4,
    resource::bmpExplosion5,    resource::bmpExplosion6, resource::bmpExplosion7,
    resource::bmpExplosion8,    resource::bmpExplosion9, resource::bmpManRight1,
    resource::bmpManRight2,     resource::bmpManRight3,  resource::bmpManFront,
    resource::bmpManLeft1,      resource::bmpManLeft2,   resource::bmpManLeft3,
    resource::bmpManLit,        resource::bmpManDim,     resource::bmpOrb,
    resource::icoWindow,        resource::bmpBarFill,    resource::bmpBarFrame,
    resource::bmpScreenFont};

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
