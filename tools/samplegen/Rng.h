// A small deterministic random source (splitmix64). The standard library's
// distributions differ between implementations, so the generator draws its
// numbers only through this class: the same seed gives the same set anywhere.
#pragma once

#include <cstdint>
#include <vector>

namespace samplegen {

class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}

    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number from lo to hi, both included. REQUIRES: lo <= hi.
    int64_t range(int64_t lo, int64_t hi) {
        return lo + static_cast<int64_t>(next() % static_cast<uint64_t>(hi - lo + 1));
    }
    bool chance(int percent) { return range(1, 100) <= percent; }
    template <class T>
    const T &pick(const std::vector<T> &v) {
        return v[static_cast<size_t>(range(0, static_cast<int64_t>(v.size()) - 1))];
    }

private:
    uint64_t state_;
};

}  // namespace samplegen
