// Any bytes as WAVE resource 1: every query of the reader answers within the
// image, and reading the samples copies no more than was asked for or is
// there.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/platform.h"
#include "sound/wave_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
