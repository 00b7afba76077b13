#pragma once
// Reads one RIFF WAVE image held in the program's resources: its sample
// format, the length of its sample data, and the samples themselves.

#include <cstdint>

#include "platform/platform.h"

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
