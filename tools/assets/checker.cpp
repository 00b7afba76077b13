#include "checker.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "catalogue.h"
#include "game_reading.h"
#include "platform/platform.h"
#include "tools/printable.h"

namespace {

uint32_t read16(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint32_t>(b[at] | b[at + 1] << 8);
}

uint32_t read32(std::span<const uint8_t> b, size_t at) {
    return read16(b, at) | read16(b, at + 2) << 16;
}

std::string number(uint64_t value) {
    return std::to_string(value);
}

// ------------------------------------------------------------ pictures

constexpr size_t fileHeaderSize = 14;
constexpr uint32_t infoHeaderSize = 40;

// The display's 16-bit colour of a stored blue, green, red triple: the top
// bits of each, as the game's loader converts them, so that pure green is
// exactly the colour key.
uint16_t displayColour(const uint8_t* bgr) {
    return static_cast<uint16_t>((bgr[2] >> 3) << 11 | (bgr[1] >> 2) << 5 | bgr[0] >> 3);
}

// ------------------------------------------------------------ sounds

struct Chunk {
    uint64_t body = 0;
    uint32_t length = 0;
};

std::string tagAt(std::span<const uint8_t> b, size_t at) {
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                       b.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

std::string formatProblem(std::span<const uint8_t> b, const Chunk& format) {
    const size_t at = format.body;
    if (read16(b, at) != 1)
        return "must be plain PCM (format 1), is format " + number(read16(b, at));
    if (read16(b, at + 2) != 1)
        return "must be mono, has " + number(read16(b, at + 2)) + " channels";
    if (read32(b, at + 4) != 22050)
        return "must be 22050 Hz, is " + number(read32(b, at + 4)) + " Hz";
    if (read16(b, at + 14) != 8)
        return "must be 8 bits per sample, has " + number(read16(b, at + 14));
    // 8-bit mono frames are one byte each; a writer that says otherwise has
    // written a header the game cannot trust.
    if (read16(b, at + 12) != 1)
        return "must have a block align of 1, has " + number(read16(b, at + 12));
    return {};
}

// ------------------------------------------------------------ files

std::optional<int> idOfName(const std::string& stem) {
    if (stem.empty() || stem.size() > 5 ||
        !std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return std::stoi(stem);
}

std::string bitmapFileProblem(int id, std::span<const uint8_t> bytes) {
    int width = 0;
    int height = 0;
    if (id == iconId) {
        width = height = 32;
    } else if (const PictureEntry* entry = findPicture(id)) {
        width = entry->width;
        height = entry->height;
    } else {
        return "no picture of the game has id " + number(static_cast<uint64_t>(id));
    }
    PictureReading reading;
    std::string problem = pictureProblem(bytes, width, height, reading);
    if (!problem.empty()) return problem;
    // The window icon is decoded by the same decoder as the pictures.
    const std::optional<PictureReading> shown = gamePicture(bytes);
    if (!shown) return "the game's bitmap loader cannot load it";
    if (shown->width != reading.width || shown->height != reading.height ||
        shown->pixels != reading.pixels) {
        return "the game's bitmap loader reads other pixels from it than its headers describe";
    }
    return {};
}

std::string waveFileProblem(int id, std::span<const uint8_t> bytes) {
    if (!findSound(id)) return "no sound of the game has id " + number(static_cast<uint64_t>(id));
    std::vector<uint8_t> samples;
    std::string problem = soundProblem(bytes, samples);
    if (!problem.empty()) return problem;
    const std::optional<std::vector<uint8_t>> buffered = gameSound(bytes);
    if (!buffered) return "the game's WAVE reader cannot load it";
    if (*buffered != samples) return "the game's WAVE reader finds other samples in it";
    return {};
}

}  // namespace

std::string pictureProblem(std::span<const uint8_t> b, int width, int height,
                           PictureReading& reading) {
    if (b.size() < fileHeaderSize + infoHeaderSize || b[0] != 'B' || b[1] != 'M')
        return "not a BMP file";
    const uint32_t infoSize = read32(b, 14);
    if (infoSize < infoHeaderSize) return "old-style BMP header; save as a Windows BMP";
    const auto fileWidth = static_cast<int32_t>(read32(b, 18));
    const auto fileHeight = static_cast<int32_t>(read32(b, 22));
    if (read16(b, 28) != 24) return "must be 24 bits per pixel, is " + number(read16(b, 28));
    if (read32(b, 30) != 0) return "must be uncompressed (BI_RGB)";
    if (fileHeight < 0) return "rows are stored top-down; the game needs bottom-up rows";
    if (fileWidth != width || fileHeight != height)
        return "is " + std::to_string(fileWidth) + " x " + std::to_string(fileHeight) +
               ", the game needs " + std::to_string(width) + " x " + std::to_string(height);
    const uint64_t pixelOffset = read32(b, 10);
    const uint64_t headersEnd = fileHeaderSize + uint64_t{infoSize};
    if (pixelOffset < headersEnd)
        return "its pixels are said to start at byte " + number(pixelOffset) +
               ", inside its headers, which end at byte " + number(headersEnd);
    const uint64_t stride = (uint64_t(width) * 3 + 3) & ~uint64_t{3};
    if (pixelOffset + stride * uint64_t(height) > b.size())
        return "file is shorter than its pixels";

    reading.width = width;
    reading.height = height;
    reading.pixels.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        // The bottom row comes first in the file.
        const uint8_t* row = b.data() + pixelOffset + stride * uint64_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            reading.pixels[size_t(y) * size_t(width) + size_t(x)] = displayColour(row + 3 * x);
        }
    }
    return {};
}

// The chunks are walked as the game's WAVE reader walks them: the RIFF form
// from its header up to where its length says it ends or, when that is past
// the end of the file (a pad byte counted but never written, or 0xFFFFFFFF
// from a writer that streamed the file), up to the file's end; the first fmt
// and the first data chunk count; a chunk that runs past the form ends the
// walk.
std::string soundProblem(std::span<const uint8_t> b, std::vector<uint8_t>& samples) {
    if (b.size() > UINT32_MAX) return "is larger than 4 GiB";
    if (b.size() < 12 || tagAt(b, 0) != "RIFF" || tagAt(b, 8) != "WAVE")
        return "not a RIFF WAVE file";
    const uint32_t riffLength = read32(b, 4);
    if (riffLength < 4)
        return "its RIFF length (" + number(riffLength) + ") is too short for a WAVE form";
    const uint64_t formEnd = std::min<uint64_t>(8 + uint64_t{riffLength}, b.size());

    std::optional<Chunk> format;
    std::optional<Chunk> data;
    uint64_t at = 12;
    while (at + 8 <= formEnd && !(format && data)) {
        const std::string tag = tagAt(b, at);
        const uint32_t length = read32(b, at + 4);
        const uint64_t body = at + 8;
        if (body + length > formEnd) {
            const std::string name = quotedInput(tag);
            if (body + length > b.size()) {
                return "its " + name + " chunk of " + number(length) +
                       " bytes runs past the end of the file";
            }
            return "its RIFF length (" + number(riffLength) + ") ends inside its " + name +
                   " chunk";
        }
        if (tag == "fmt " && !format) {
            if (length < 16) return "its fmt chunk is too short (" + number(length) + " bytes)";
            format = Chunk{body, length};
        }
        if (tag == "data" && !data) data = Chunk{body, length};
        at = body + length + (length & 1u);
    }
    const bool formCutShort = formEnd < b.size() && at + 8 <= b.size();
    if (!format || !data) {
        const std::string missing = !format ? "fmt" : "data";
        if (formCutShort) {
            return "has no " + missing + " chunk within its RIFF length (" + number(riffLength) +
                   "); the file goes on for " + number(b.size() - formEnd) + " bytes more";
        }
        return "has no " + missing + " chunk";
    }
    std::string problem = formatProblem(b, *format);
    if (!problem.empty()) return problem;
    if (data->length == 0) return "has no samples";
    if (data->length > platform::maxSoundBufferBytes)
        return "has " + number(data->length) + " bytes of samples, more than the game's " +
               number(platform::maxSoundBufferBytes);
    const auto first = b.begin() + static_cast<std::ptrdiff_t>(data->body);
    samples.assign(first, first + data->length);
    return {};
}

std::string userFileProblem(const std::string& path) {
    const std::filesystem::path file(path);
    const std::string extension = file.extension().string();
    const std::optional<int> id = idOfName(file.stem().string());
    if (!id) return "name must be the resource id, like 151.bmp";
    if (extension != ".bmp" && extension != ".wav") return "must end in .bmp or .wav";
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) return "cannot be read";
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    if (in.bad()) return "cannot be read";
    return extension == ".bmp" ? bitmapFileProblem(*id, bytes) : waveFileProblem(*id, bytes);
}

bool checkUserFile(const std::string& path) {
    const std::string problem = userFileProblem(path);
    if (problem.empty()) return true;
    std::fprintf(stderr, "%s: %s\n", quotedInput(path, 300).c_str(), problem.c_str());
    return false;
}
