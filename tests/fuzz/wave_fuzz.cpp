// Any bytes as WAVE resource 1: every chunk the walk finds lies inside the
// image, every query of the reader answers within it, and reading the
// samples copies no more than was asked for or is there.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "sound/wave_image.h"

namespace {

void checkInside(const std::optional<WaveChunk>& chunk, size_t size) {
    if (chunk && chunk->body() + chunk->length > size) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const WaveChunks walk = walkWaveChunks({data, size});
    if (walk.formEnd > size || walk.walkEnd > size + 1) std::abort();
    checkInside(walk.format, size);
    checkInside(walk.data, size);
    const platform::Module module{{{platform::ResourceType::Wave, 1, {data, size}}}};
    WaveImage image;
    if (image.loadFromResource(1, &module) == 0) {
        if (image.isLoaded() != 0) std::abort();
        return 0;
    }
    if (image.isLoaded() == 0) std::abort();

    platform::WaveFormat format{};
    image.readFormat(&format);
    const uint32_t length = image.dataSize();
    if (length > size) std::abort();

    // A buffer exactly as large as the data, and one smaller than it.
    std::vector<uint8_t> samples(length);
    if (image.readData(samples.data(), length) > length) std::abort();
    const uint32_t half = length / 2;
    std::vector<uint8_t> part(half);
    if (image.readData(part.data(), half) > half) std::abort();

    if (image.release() != 1) std::abort();
    if (image.isLoaded() != 0) std::abort();
    return 0;
}
