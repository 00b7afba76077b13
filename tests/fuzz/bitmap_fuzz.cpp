// Any bytes as bitmap resource 1: the loader either gives a picture whose
// pixel count matches its size, or null; it never reads or writes out of
// bounds. A picture it gives is copied onto a surface like the start-up does.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/headless.h"
#include "platform/platform.h"

namespace {

int32_t readI32(const uint8_t* at) {
    return static_cast<int32_t>(static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
                                static_cast<uint32_t>(at[2]) << 16 |
                                static_cast<uint32_t>(at[3]) << 24);
}

// SDL's decoder allocates the whole picture its header declares before it
// reads a single pixel, so a few bytes can ask for gigabytes. That is a known
// limit of the loader, not a memory error; such inputs are left out so the
// fuzzer keeps looking for real ones. No surface may be larger than 8192.
bool declaresHugePicture(const uint8_t* data, size_t size) {
    if (size < 26 || data[0] != 'B' || data[1] != 'M') return false;
    const int32_t headerSize = readI32(data + 14);
    int64_t width = 0;
    int64_t height = 0;
    if (headerSize == 12) {
        width = data[18] | data[19] << 8;
        height = data[20] | data[21] << 8;
    } else {
        width = readI32(data + 18);
        height = readI32(data + 22);
    }
    width = width < 0 ? -width : width;
    height = height < 0 ? -height : height;
    return width > 8192 || height > 8192;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool machineReady = (platform::headless::use(), true);
    (void)machineReady;
    if (declaresHugePicture(data, size)) return 0;

    const platform::Module module{{{platform::ResourceType::Bitmap, 1, {data, size}}}};
    platform::Bitmap* bitmap = platform::loadBitmap(&module, 1);
    if (bitmap != nullptr) {
        const bool sane = bitmap->width > 0 && bitmap->height > 0 &&
                          bitmap->pixels.size() == static_cast<size_t>(bitmap->width) *
                                                       static_cast<size_t>(bitmap->height);
        if (!sane) {
            std::abort();
        }
        platform::Surface surface;
        surface.width = bitmap->width < 64 ? bitmap->width : 64;
        surface.height = bitmap->height < 64 ? bitmap->height : 64;
        surface.pixels.assign(static_cast<size_t>(surface.width) * surface.height, 0);
        platform::copyBitmap(bitmap, &surface);
        platform::deleteBitmap(bitmap);
    }
    // The headless machine records every call; keep the record from growing.
    platform::headless::clearCalls();
    return 0;
}
