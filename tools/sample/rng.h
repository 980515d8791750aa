#pragma once
// The generator's only source of chance. The standard distributions are
// implementation-defined, so every draw goes through this splitmix64: the same
// seed gives the same bytes with the same C library (a few values pass
// through exp and pow).
#include <cstdint>

namespace rw::sample {

class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // [0, 1)
    double uniform() { return double(next() >> 11) * 0x1.0p-53; }
    // [0, n), n > 0
    int below(int n) { return int((next() >> 16) % std::uint64_t(n)); }
    // [lo, hi]
    int range(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(double p) { return uniform() < p; }
    // Approximately standard normal (Irwin-Hall of 12): plain arithmetic, so
    // no libm difference can creep in.
    double normal() {
        double s = 0;
        for (int i = 0; i < 12; ++i) s += uniform();
        return s - 6.0;
    }
    // An independent stream for one part of the generation, so that a change
    // in one part does not reshuffle the others.
    Rng fork(std::uint64_t salt) { return Rng(next() ^ (salt * 0xD1B54A32D192ED03ull)); }

private:
    std::uint64_t s_;
};

}  // namespace rw::sample
