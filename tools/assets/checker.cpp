#include "checker.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "catalogue.h"
#include "little_endian.h"

namespace {

std::string bitmapProblem(int id, const std::vector<uint8_t>& b) {
    int width = 0;
    int height = 0;
    if (id == iconId) {
        width = height = 32;
    } else if (const PictureEntry* entry = findPicture(id)) {
        width = entry->width;
        height = entry->height;
    } else {
        return "no picture of the game has id " + std::to_string(id);
    }
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return "not a BMP file";
    if (read32(b, 14) < 40) return "old-style BMP header; save as a Windows BMP";
    auto fileWidth = static_cast<int32_t>(read32(b, 18));
    auto fileHeight = static_cast<int32_t>(read32(b, 22));
    if (read16(b, 28) != 24)
        return "must be 24 bits per pixel, is " + std::to_string(read16(b, 28));
    if (read32(b, 30) != 0) return "must be uncompressed (BI_RGB)";
    if (fileHeight < 0) return "rows are stored top-down; the game needs bottom-up rows";
    if (fileWidth != width || fileHeight != height)
        return "is " + std::to_string(fileWidth) + " x " + std::to_string(fileHeight) +
               ", the game needs " + std::to_string(width) + " x " + std::to_string(height);
    size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    if (read32(b, 10) + stride * height > b.size()) return "file is shorter than its pixels";
    return {};
}

std::string waveProblem(int id, const std::vector<uint8_t>& b) {
    if (!findSound(id)) return "no sound of the game has id " + std::to_string(id);
    auto tag = [&](size_t at, const char* t) {
        return b.size() >= at + 4 && std::equal(t, t + 4, b.begin() + static_cast<long>(at));
    };
    if (!tag(0, "RIFF") || !tag(8, "WAVE")) return "not a RIFF WAVE file";
    bool formatSeen = false;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        uint32_t size = read32(b, at + 4);
        if (tag(at, "fmt ")) {
            if (size < 16 || at + 8 + 16 > b.size()) return "fmt chunk is too short";
            if (read16(b, at + 8) != 1) return "must be plain PCM";
            if (read16(b, at + 10) != 1) return "must be mono";
            if (read32(b, at + 12) != 22050)
                return "must be 22050 Hz, is " + std::to_string(read32(b, at + 12));
            if (read16(b, at + 22) != 8) return "must be 8 bits per sample";
            formatSeen = true;
        } else if (tag(at, "data")) {
            if (!formatSeen) return "data comes before the fmt chunk";
            if (size == 0) return "has no samples";
            if (at + 8 + size > b.size()) return "file is shorter than its data chunk";
            return {};
        }
        at += 8 + size + (size & 1);
    }
    return formatSeen ? "has no data chunk" : "has no fmt chunk";
}

}  // namespace

bool checkUserFile(const std::string& path) {
    std::filesystem::path p(path);
    std::string stem = p.stem().string();
    std::string extension = p.extension().string();
    std::string problem;
    char* end = nullptr;
    long id = std::strtol(stem.c_str(), &end, 10);
    std::ifstream file(path, std::ios::binary);
    bool readable = file.is_open();
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    if (stem.empty() || *end != '\0')
        problem = "name must be the resource id, like 151.bmp";
    else if (!readable)
        problem = "cannot be read";
    else if (extension == ".bmp")
        problem = bitmapProblem(static_cast<int>(id), bytes);
    else if (extension == ".wav")
        problem = waveProblem(static_cast<int>(id), bytes);
    else
        problem = "must end in .bmp or .wav";
    if (problem.empty()) return true;
    std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
    return false;
}
