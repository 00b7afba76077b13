#include "checker.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "catalogue.h"
#include "formats/bmp_decoder.h"
#include "formats/little_endian.h"
#include "platform/platform.h"
#include "platform/printable.h"
#include "sound/wave_image.h"

namespace {

using formats::readLittle16;
using formats::readLittle32;

std::string number(uint64_t value) {
    return std::to_string(value);
}

constexpr size_t fileHeaderSize = 14;
constexpr uint32_t infoHeaderSize = 40;

std::string tagAt(std::span<const uint8_t> b, size_t at) {
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                       b.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

std::string formatProblem(std::span<const uint8_t> b, const WaveChunk& format) {
    const size_t at = format.body();
    if (readLittle16(b, at) != 1)
        return "must be plain PCM (format 1), is format " + number(readLittle16(b, at));
    if (readLittle16(b, at + 2) != 1)
        return "must be mono, has " + number(readLittle16(b, at + 2)) + " channels";
    if (readLittle32(b, at + 4) != 22050)
        return "must be 22050 Hz, is " + number(readLittle32(b, at + 4)) + " Hz";
    if (readLittle16(b, at + 14) != 8)
        return "must be 8 bits per sample, has " + number(readLittle16(b, at + 14));
    // 8-bit mono frames are one byte each; a writer that says otherwise has
    // written a header the game cannot trust.
    if (readLittle16(b, at + 12) != 1)
        return "must have a block align of 1, has " + number(readLittle16(b, at + 12));
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
    return pictureProblem(bytes, width, height, reading);
}

std::string waveFileProblem(int id, std::span<const uint8_t> bytes) {
    if (!findSound(id)) return "no sound of the game has id " + number(static_cast<uint64_t>(id));
    std::vector<uint8_t> samples;
    return soundProblem(bytes, samples);
}

}  // namespace

std::string pictureProblem(std::span<const uint8_t> b, int width, int height,
                           PictureReading& reading) {
    if (b.size() < fileHeaderSize + infoHeaderSize || b[0] != 'B' || b[1] != 'M')
        return "not a BMP file";
    const uint32_t infoSize = readLittle32(b, 14);
    if (infoSize < infoHeaderSize) return "old-style BMP header; save as a Windows BMP";
    const auto fileWidth = static_cast<int32_t>(readLittle32(b, 18));
    const auto fileHeight = static_cast<int32_t>(readLittle32(b, 22));
    if (readLittle16(b, 28) != 24)
        return "must be 24 bits per pixel, is " + number(readLittle16(b, 28));
    if (readLittle32(b, 30) != 0) return "must be uncompressed (BI_RGB)";
    if (fileHeight < 0) return "rows are stored top-down; the game needs bottom-up rows";
    if (fileWidth != width || fileHeight != height)
        return "is " + std::to_string(fileWidth) + " x " + std::to_string(fileHeight) +
               ", the game needs " + std::to_string(width) + " x " + std::to_string(height);
    const uint64_t pixelOffset = readLittle32(b, 10);
    const uint64_t headersEnd = fileHeaderSize + uint64_t{infoSize};
    if (pixelOffset < headersEnd)
        return "its pixels are said to start at byte " + number(pixelOffset) +
               ", inside its headers, which end at byte " + number(headersEnd);
    const uint64_t stride = (uint64_t(width) * 3 + 3) & ~uint64_t{3};
    if (pixelOffset + stride * uint64_t(height) > b.size())
        return "file is shorter than its pixels";

    // The pixels as the game itself reads them.
    platform::Bitmap picture;
    if (!formats::decodeBmp(b, picture)) return "the game's bitmap reader cannot read it";
    reading = PictureReading{picture.width, picture.height, std::move(picture.pixels)};
    return {};
}

// The chunks are walked by the game's own walk: the RIFF form from its
// header up to where its length says it ends or, when that is past the end of
// the file (a pad byte counted but never written, or 0xFFFFFFFF from a writer
// that streamed the file), up to the file's end; the first fmt and the first
// data chunk count; a chunk that runs past the form ends the walk.
std::string soundProblem(std::span<const uint8_t> b, std::vector<uint8_t>& samples) {
    if (b.size() > UINT32_MAX) return "is larger than 4 GiB";
    if (b.size() < 12 || tagAt(b, 0) != "RIFF" || tagAt(b, 8) != "WAVE")
        return "not a RIFF WAVE file";
    const uint32_t riffLength = readLittle32(b, 4);
    if (riffLength < 4)
        return "its RIFF length (" + number(riffLength) + ") is too short for a WAVE form";

    const WaveChunks walk = walkWaveChunks(b);
    const std::optional<WaveChunk>& format = walk.format;
    const std::optional<WaveChunk>& data = walk.data;
    if (format && format->length < 16)
        return "its fmt chunk is too short (" + number(format->length) + " bytes)";
    if (walk.overrun) {
        const std::string name = quotedInput(tagAt(b, walk.overrun->at));
        const uint32_t length = walk.overrun->length;
        if (walk.overrun->body() + length > b.size()) {
            return "its " + name + " chunk of " + number(length) +
                   " bytes runs past the end of the file";
        }
        return "its RIFF length (" + number(riffLength) + ") ends inside its " + name + " chunk";
    }
    const bool formCutShort = walk.formEnd < b.size() && walk.walkEnd + 8 <= b.size();
    if (!format || !data) {
        const std::string missing = !format ? "fmt" : "data";
        if (formCutShort) {
            return "has no " + missing + " chunk within its RIFF length (" + number(riffLength) +
                   "); the file goes on for " + number(b.size() - walk.formEnd) + " bytes more";
        }
        return "has no " + missing + " chunk";
    }
    std::string problem = formatProblem(b, *format);
    if (!problem.empty()) return problem;
    if (data->length == 0) return "has no samples";
    if (data->length > platform::maxSoundBufferBytes)
        return "has " + number(data->length) + " bytes of samples, more than the game's " +
               number(platform::maxSoundBufferBytes);
    const auto first = b.begin() + static_cast<std::ptrdiff_t>(data->body());
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
