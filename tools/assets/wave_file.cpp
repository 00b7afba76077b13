#include "wave_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "formats/little_endian.h"

using formats::putLittle16;
using formats::putLittle32;
using formats::putTag;

std::vector<uint8_t> toEightBit(const Signal& signal, uint32_t seed) {
    Rng rng{seed};
    std::vector<uint8_t> out(signal.size());
    double error = 0;  // in steps of the 8-bit scale
    for (size_t i = 0; i < signal.size(); ++i) {
        if (signal[i] == 0.0) {
            out[i] = 128;
            error = 0;
            continue;
        }
        double wanted = signal[i] * 128.0 - error;
        double dither = uniform(rng) - uniform(rng);
        long step = std::clamp(std::lround(wanted + dither), -128L, 127L);
        // Bounded, so a clipped sample cannot wind the feedback up.
        error = std::clamp(static_cast<double>(step) - wanted, -2.0, 2.0);
        out[i] = static_cast<uint8_t>(128 + step);
    }
    return out;
}

bool writeWav(const std::string& path, const std::vector<uint8_t>& samples) {
    uint32_t dataBytes = static_cast<uint32_t>(samples.size());
    uint32_t pad = dataBytes & 1;
    std::vector<uint8_t> out;
    putTag(out, "RIFF");
    putLittle32(out, 4 + (8 + 16) + (8 + dataBytes + pad));
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLittle32(out, 16);
    putLittle16(out, 1);      // PCM
    putLittle16(out, 1);      // mono
    putLittle32(out, 22050);  // samples per second
    putLittle32(out, 22050);  // bytes per second
    putLittle16(out, 1);      // block align
    putLittle16(out, 8);      // bits per sample
    putTag(out, "data");
    putLittle32(out, dataBytes);
    out.insert(out.end(), samples.begin(), samples.end());
    if (pad) out.push_back(128);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}
