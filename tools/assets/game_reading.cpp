#include "game_reading.h"

#include "platform/headless.h"
#include "platform/platform.h"
#include "sound/wave_image.h"

namespace {

constexpr int resourceId = 1;

// The loaders ask the machine for a few things (a sound device, its buffers);
// the headless one gives them without a display or a sound card.
void useHeadlessMachine() {
    static const bool ready = (platform::headless::use(), true);
    (void)ready;
    // It records every call; a check of many files must not keep them all.
    platform::headless::clearCalls();
}

}  // namespace

std::optional<PictureReading> gamePicture(std::span<const uint8_t> bytes) {
    useHeadlessMachine();
    const platform::Module module{{{platform::ResourceType::Bitmap, resourceId, bytes}}};
    platform::Bitmap* bitmap = platform::loadBitmap(&module, resourceId);
    if (bitmap == nullptr) return std::nullopt;
    PictureReading picture{bitmap->width, bitmap->height, bitmap->pixels};
    platform::deleteBitmap(bitmap);
    return picture;
}

std::optional<std::vector<uint8_t>> gameSound(std::span<const uint8_t> bytes) {
    useHeadlessMachine();
    const platform::Module module{{{platform::ResourceType::Wave, resourceId, bytes}}};
    WaveImage reader;
    reader.loadFromResource(resourceId, &module);

    // In the start-up's order, and like it without looking at what the format
    // read answers: a reader without a format leaves the record zero, which
    // no buffer takes.
    const uint32_t size = reader.dataSize();
    platform::WaveFormat format{};
    reader.readFormat(&format);
    platform::SoundDevice* device = platform::createSoundDevice();
    platform::SoundBuffer* buffer = platform::createSoundBuffer(device, format, size);
    std::optional<std::vector<uint8_t>> samples;
    uint8_t* region = nullptr;
    uint32_t regionLength = 0;
    if (buffer != nullptr && platform::lockBuffer(buffer, 0, size, &region, &regionLength)) {
        const uint32_t count = reader.readData(region, regionLength);
        std::vector<uint8_t> read(region, region + count);
        if (platform::unlockBuffer(buffer, region, count)) samples = std::move(read);
    }
    if (buffer != nullptr) platform::release(buffer);
    if (device != nullptr) platform::release(device);
    return samples;
}
