#pragma once
// The generator's own small random source. Every use starts from a fixed
// seed, so each run draws the same stars and the same noise, byte for byte.

#include <cmath>
#include <cstdint>

struct Rng {
    uint32_t state;
};

inline uint32_t nextRandom(Rng& rng) {
    // xorshift32: tiny, fast and the same on every machine.
    uint32_t x = rng.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    rng.state = x;
    return x;
}

// Uniform in [0, 1).
inline double uniform(Rng& rng) {
    return (nextRandom(rng) >> 8) * (1.0 / 16777216.0);
}

inline double uniform(Rng& rng, double low, double high) {
    return low + (high - low) * uniform(rng);
}

// Uniform in [-1, 1).
inline double bipolar(Rng& rng) {
    return uniform(rng) * 2.0 - 1.0;
}

// A repeatable pseudo-random value in [0, 1) for a lattice point.
inline double hashNoise(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^
                 static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h >> 8) * (1.0 / 16777216.0);
}

// Smooth value noise, wrapping every `period` lattice cells along x so
// panoramas can repeat without a seam.
inline double valueNoise(double x, double y, uint32_t seed, int period = 1 << 20) {
    int ix = static_cast<int>(std::floor(x));
    int iy = static_cast<int>(std::floor(y));
    double fx = x - ix;
    double fy = y - iy;
    auto wrap = [period](int v) { return ((v % period) + period) % period; };
    double a = hashNoise(wrap(ix), iy, seed);
    double b = hashNoise(wrap(ix + 1), iy, seed);
    double c = hashNoise(wrap(ix), iy + 1, seed);
    double d = hashNoise(wrap(ix + 1), iy + 1, seed);
    double sx = fx * fx * (3 - 2 * fx);
    double sy = fy * fy * (3 - 2 * fy);
    return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

// A few octaves of value noise, roughly in [0, 1).
inline double fractalNoise(double x, double y, uint32_t seed, int octaves = 4,
                           int period = 1 << 20) {
    double sum = 0;
    double weight = 0.5;
    double total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += valueNoise(x, y, seed + i * 101u, period) * weight;
        total += weight;
        weight *= 0.5;
        x *= 2;
        y *= 2;
        period *= 2;
    }
    return sum / total;
}
