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

#include "formats/little_endian.h"

namespace {

using formats::readLittle16;
using formats::readLittle32;

constexpr uint32_t fourCC(const char (&name)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(name[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(name[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(name[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(name[3])) << 24;
}

// Walks the chunks of the form from `from` up to its end, keeping the first
// of each chunk we read, until both are found or a chunk runs past the end.
void walkForm(std::span<const uint8_t> image, uint64_t from, WaveChunks& found) {
    uint64_t at = from;
    while (at + 8 <= found.formEnd && !(found.format && found.data)) {
        const uint32_t id = readLittle32(image, at);
        const WaveChunk chunk{at, readLittle32(image, at + 4)};
        if (chunk.body() + chunk.length > found.formEnd) {
            found.overrun = chunk;
            break;
        }
        if (id == fourCC("fmt ") && !found.format) found.format = chunk;
        if (id == fourCC("data") && !found.data) found.data = chunk;
        at = chunk.body() + chunk.length + (chunk.length & 1u);
    }
    found.walkEnd = at;
}

WaveChunks walkImage(const uint8_t* data, uint32_t size) {
    if (data == nullptr) return {};
    return walkWaveChunks({data, size});
}

}  // namespace

WaveChunks walkWaveChunks(std::span<const uint8_t> image) {
    WaveChunks found;
    const uint64_t size = image.size();
    uint64_t at = 0;
    while (at + 12 <= size) {
        const uint32_t id = readLittle32(image, at);
        const uint32_t length = readLittle32(image, at + 4);
        const uint64_t body = at + 8;
        if (id == fourCC("RIFF") && readLittle32(image, body) == fourCC("WAVE") && length >= 4) {
            found.hasForm = true;
            found.formAt = at;
            found.formEnd = std::min<uint64_t>(body + length, size);
            walkForm(image, body + 4, found);
            return found;
        }
        if (body + length > size) break;
        at = body + length + (length & 1u);
    }
    found.walkEnd = at;
    return found;
}

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
    const std::optional<WaveChunk> chunk = walkImage(data, size).format;
    if (!chunk || chunk->length < 16) return 0;
    const std::span<const uint8_t> image(data, size);
    const uint64_t at = chunk->body();
    format->formatTag = readLittle16(image, at);
    format->channels = readLittle16(image, at + 2);
    format->samplesPerSec = readLittle32(image, at + 4);
    format->avgBytesPerSec = readLittle32(image, at + 8);
    format->blockAlign = readLittle16(image, at + 12);
    format->bitsPerSample = readLittle16(image, at + 14);
    // A plain PCM chunk is 16 bytes long and has no extra-size field.
    format->cbSize = chunk->length >= 18 ? readLittle16(image, at + 16) : 0;
    return 1;
}

uint32_t WaveImage::dataSize() const {
    const std::optional<WaveChunk> chunk = walkImage(data, size).data;
    return chunk ? chunk->length : 0;
}

uint32_t WaveImage::readData(uint8_t* destination, uint32_t capacity) const {
    const std::optional<WaveChunk> chunk = walkImage(data, size).data;
    if (!chunk || destination == nullptr) return 0;
    const uint32_t count = std::min(chunk->length, capacity);
    std::memcpy(destination, data + chunk->body(), count);
    return count;
}

int WaveImage::release() {
    if (data == nullptr) return 0;
    // The image lives in the program's resources; giving it back only forgets it.
    data = nullptr;
    size = 0;
    return 1;
}
