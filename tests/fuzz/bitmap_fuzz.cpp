// Any bytes as bitmap resource 1: the loader either gives a picture whose
// pixel count matches its size, or null; it never reads or writes out of
// bounds, and a header promising a huge picture is refused before anything
// is set aside for it (the fuzzer's memory limit catches the rest). A picture
// it gives is copied onto a surface like the start-up does.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/headless.h"
#include "platform/platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool machineReady = (platform::headless::use(), true);
    (void)machineReady;

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
