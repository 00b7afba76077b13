// A RIFF chunk walker over the image's bytes. Chunks are found by their
// four-character id, stepping over the bodies (and the pad byte that follows
// an odd length) of all the others. A chunk whose length runs past the end of
// the image ends the search, so a damaged image never makes us read outside it.
//
// The RIFF form itself is the one exception: writers that count a pad byte
// they never write, or that stream the file and leave the length at
// 0xFFFFFFFF, promise more than the image holds, and their chunks are read up
// to the image's real end. A RIFF length that ends before the image does is
// taken at its word: the form ends there, and chunks after it are not its own.

#include "sound/wave_image.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t fourCC(const char (&name)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(name[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(name[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(name[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(name[3])) << 24;
}

uint32_t readU32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

uint16_t readU16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

struct Chunk {
    uint64_t body = 0;  // offset of the first byte of the body
    uint32_t length = 0;
    bool found = false;
};

// Looks for the chunk `id` among the chunks from `from` up to `end`.
Chunk findChunk(const uint8_t* data, uint64_t from, uint64_t end, uint32_t id) {
    uint64_t at = from;
    while (at + 8 <= end) {
        const uint32_t chunkId = readU32(data + at);
        const uint32_t length = readU32(data + at + 4);
        const uint64_t body = at + 8;
        if (body + length > end) return {};
        if (chunkId == id) return {body, length, true};
        at = body + length + (length & 1u);
    }
    return {};
}

// The "WAVE" form's chunk `id`: first the RIFF chunk, then the chunk inside it.
Chunk findWaveChunk(const uint8_t* data, uint32_t size, uint32_t id) {
    if (data == nullptr) return {};
    uint64_t at = 0;
    while (at + 12 <= size) {
        const uint32_t chunkId = readU32(data + at);
        const uint32_t length = readU32(data + at + 4);
        const uint64_t body = at + 8;
        if (chunkId == fourCC("RIFF") && readU32(data + body) == fourCC("WAVE") && length >= 4) {
            return findChunk(data, body + 4, std::min<uint64_t>(body + length, size), id);
        }
        if (body + length > size) return {};
        at = body + length + (length & 1u);
    }
    return {};
}

}  // namespace

WaveImage::~WaveImage() {
    release();
}

int WaveImage::loadFromResource(unsigned id, const platform::Module* module) {
    release();
    fromResource = 1;
    const platform::Resource* resource =
        platform::findResource(module, platform::ResourceType::Wave, static_cast<int>(id & 0xFFFF));
    if (resource == nullptr || resource->bytes.size() > UINT32_MAX) return 0;
    data = resource->bytes.data();
    size = static_cast<uint32_t>(resource->bytes.size());
    if (size == 0) data = nullptr;
    return data != nullptr ? 1 : 0;
}

int WaveImage::isLoaded() const {
    return data != nullptr ? 1 : 0;
}

int WaveImage::readFormat(platform::WaveFormat* format) const {
    if (data == nullptr || format == nullptr) return 0;
    const Chunk chunk = findWaveChunk(data, size, fourCC("fmt "));
    if (!chunk.found || chunk.length < 16) return 0;
    const uint8_t* at = data + chunk.body;
    format->formatTag = readU16(at);
    format->channels = readU16(at + 2);
    format->samplesPerSec = readU32(at + 4);
    format->avgBytesPerSec = readU32(at + 8);
    format->blockAlign = readU16(at + 12);
    format->bitsPerSample = readU16(at + 14);
    // A plain PCM chunk is 16 bytes long and has no extra-size field.
    format->cbSize = chunk.length >= 18 ? readU16(at + 16) : 0;
    return 1;
}

uint32_t WaveImage::dataSize() const {
    const Chunk chunk = findWaveChunk(data, size, fourCC("data"));
    return chunk.found ? chunk.length : 0;
}

uint32_t WaveImage::readData(uint8_t* destination, uint32_t capacity) const {
    const Chunk chunk = findWaveChunk(data, size, fourCC("data"));
    if (!chunk.found || destination == nullptr) return 0;
    const uint32_t count = std::min(chunk.length, capacity);
    std::memcpy(destination, data + chunk.body, count);
    return count;
}

int WaveImage::release() {
    if (data == nullptr) return 0;
    // The image lives in the program's resources; giving it back only forgets it.
    data = nullptr;
    size = 0;
    return 1;
}
