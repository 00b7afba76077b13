// Any bytes as a player's picture (when they begin with "BM") or sound: when
// the rules of the build's check pass them, the game's own loaders must take
// them too and read exactly the picture or the samples the rules read. A file
// the rules pass and the game refuses, or reads otherwise, is a finding: the
// build would take it and the game then fail to start or show something else.
// (The check itself runs the loaders after its rules and refuses such a file,
// but only with a vaguer reason than the rules give.)

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "catalogue.h"
#include "checker.h"
#include "game_reading.h"

namespace {

int32_t read32(std::span<const uint8_t> bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= uint32_t{bytes[at + i]} << (8 * i);
    return static_cast<int32_t>(value);
}

void checkPicture(std::span<const uint8_t> bytes) {
    if (bytes.size() < 26) return;
    // The rules ask for the size of the picture the file stands in for: the
    // header's own size, when a picture of the game has it, lets every other
    // rule be tried.
    const int32_t width = read32(bytes, 18);
    const int32_t height = read32(bytes, 22);
    const auto& pictures = pictureCatalogue();
    if (std::none_of(pictures.begin(), pictures.end(), [&](const PictureEntry& entry) {
            return entry.width == width && entry.height == height;
        })) {
        return;
    }
    PictureReading read;
    if (!pictureProblem(bytes, width, height, read).empty()) return;
    const std::optional<PictureReading> shown = gamePicture(bytes);
    if (!shown) std::abort();
    if (shown->width != read.width || shown->height != read.height) std::abort();
    if (shown->pixels != read.pixels) std::abort();
}

void checkSound(std::span<const uint8_t> bytes) {
    std::vector<uint8_t> samples;
    if (!soundProblem(bytes, samples).empty()) return;
    const std::optional<std::vector<uint8_t>> played = gameSound(bytes);
    if (!played) std::abort();
    if (*played != samples) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        checkPicture(bytes);
    } else {
        checkSound(bytes);
    }
    return 0;
}
