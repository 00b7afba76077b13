// The window's icon in full colour, with the game's own idea of pure green:
// what the game would draw as green in its 16-bit pictures is see-through
// here too, so the icon's edge is the same on every desktop.

#include "platform/window_icon.h"

#include "formats/bmp_decoder.h"

namespace platform {

namespace {

bool isPureGreen(uint32_t rgb) {
    const uint32_t red = rgb >> 16 & 0xFF;
    const uint32_t green = rgb >> 8 & 0xFF;
    const uint32_t blue = rgb & 0xFF;
    return red >> 3 == 0 && green >> 2 == 63 && blue >> 3 == 0;
}

}  // namespace

bool decodeWindowIcon(std::span<const uint8_t> bmpFile, WindowIcon& icon) {
    formats::TrueColourPicture picture;
    if (!formats::decodeBmp(bmpFile, picture)) return false;
    icon.width = picture.width;
    icon.height = picture.height;
    icon.pixels.resize(picture.pixels.size());
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const uint32_t rgb = picture.pixels[i] & 0xFFFFFF;
        icon.pixels[i] = isPureGreen(rgb) ? 0 : 0xFF000000u | rgb;
    }
    return true;
}

bool loadWindowIcon(const Module* module, int iconId, WindowIcon& icon) {
    const Resource* resource = findResource(module, ResourceType::Icon, iconId);
    return resource != nullptr && decodeWindowIcon(resource->bytes, icon);
}

}  // namespace platform
