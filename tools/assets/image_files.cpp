// The generator's picture files, encoded by the platform layer's writers:
// the BMPs the game embeds come out as the trace tool's frames do.

#include "image_files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

#include "formats/picture_files.h"

namespace {

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return false;
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

uint8_t sampleByte(double v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

}  // namespace

bool writeBmp(const std::string& path, const Image& image) {
    return writeBytes(path, formats::encodeBmp(image.width, image.height, image.rgb));
}

bool writePng(const std::string& path, const Image& image) {
    return writeBytes(path, formats::encodePng(image.width, image.height, 3, image.rgb));
}

bool writePngWithAlpha(const std::string& path, const Canvas& canvas) {
    std::vector<uint8_t> samples;
    samples.reserve(canvas.pixels.size() * 4);
    for (const Pixel& p : canvas.pixels) {
        // A pixel nothing covers keeps no stray colour for a viewer to show.
        const bool empty = sampleByte(p.alpha) == 0;
        samples.push_back(empty ? 0 : sampleByte(p.colour.r));
        samples.push_back(empty ? 0 : sampleByte(p.colour.g));
        samples.push_back(empty ? 0 : sampleByte(p.colour.b));
        samples.push_back(sampleByte(p.alpha));
    }
    return writeBytes(path, formats::encodePng(canvas.width, canvas.height, 4, samples));
}
