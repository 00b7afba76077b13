#pragma once
// Reads one RIFF WAVE image held in the program's resources: its sample
// format, the length of its sample data, and the samples themselves.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/platform.h"

// A chunk found in a RIFF image.
struct WaveChunk {
    uint64_t at = 0;  // where its eight-byte header starts
    uint32_t length = 0;
    uint64_t body() const { return at + 8; }
};

// What one walk over the chunks of a WAVE image finds: the RIFF chunk of the
// WAVE form, and in it the first "fmt " and the first "data" chunk.
struct WaveChunks {
    bool hasForm = false;
    uint64_t formAt = 0;   // where the RIFF chunk's header starts
    uint64_t formEnd = 0;  // where its chunks end
    std::optional<WaveChunk> format;
    std::optional<WaveChunk> data;
    // The chunk whose length runs past the form's end, which ended the walk.
    std::optional<WaveChunk> overrun;
    uint64_t walkEnd = 0;  // where the walk stopped
};

// The one walk over a WAVE image, for the game's reader and for the build's
// check of a player's sounds. Reads nothing outside the image.
WaveChunks walkWaveChunks(std::span<const uint8_t> image);

class WaveImage {
  public:
    WaveImage() = default;
    WaveImage(const WaveImage&) = delete;
    WaveImage& operator=(const WaveImage&) = delete;
    virtual ~WaveImage();

    // 1 when the WAVE resource of that id is now held, 0 otherwise.
    int loadFromResource(unsigned id, const platform::Module* module);
    int isLoaded() const;
    // 1 when the "fmt " chunk was read into the record, 0 otherwise.
    int readFormat(platform::WaveFormat* format) const;
    // The length of the "data" chunk's body; 0 when there is none.
    uint32_t dataSize() const;
    // Copies the sample data, at most `capacity` bytes; gives the count.
    uint32_t readData(uint8_t* destination, uint32_t capacity) const;
    // 1 when an image was given back, 0 when there was none.
    int release();

    const uint8_t* data = nullptr;
    uint32_t size = 0;
    int32_t fromResource = 0;
};
