#include "key_rules.h"

bool isKey(const uint8_t* rgb) {
    return rgb[0] == keyRed && rgb[1] == keyGreen && rgb[2] == keyBlue;
}

bool nearKey(const uint8_t* rgb) {
    return rgb[0] < 8 && rgb[2] < 8 && rgb[1] >= 252;
}

void keepClearOfKey(uint8_t* rgb) {
    if (nearKey(rgb)) rgb[1] = 251;
}

namespace {

// A pixel next to the key that is this saturated a green can only come from
// blending with the key: nothing in the night scenes is painted that way.
bool looksLikeFringe(const uint8_t* rgb) {
    int strongest = rgb[0] > rgb[2] ? rgb[0] : rgb[2];
    return rgb[1] >= 160 && rgb[1] - strongest >= 120;
}

std::string where(int x, int y) {
    return " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

}  // namespace

std::string keyRuleProblem(const Image& image) {
    auto px = [&](int x, int y) {
        return &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
    };
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = px(x, y);
            if (isKey(p)) continue;
            if (nearKey(p)) return "opaque pixel turns into the key in RGB565" + where(x, y);
            if (!looksLikeFringe(p)) continue;
            bool touchesKey =
                (x > 0 && isKey(px(x - 1, y))) || (x + 1 < image.width && isKey(px(x + 1, y))) ||
                (y > 0 && isKey(px(x, y - 1))) || (y + 1 < image.height && isKey(px(x, y + 1)));
            if (touchesKey) return "green fringe next to the key" + where(x, y);
        }
    }
    return {};
}
