// The program's pseudo-random numbers: state = state × 214013 + 2531011
// (mod 2^32), result (state >> 16) & 0x7FFF. Each generation run seeds it, so
// a pinned seed repeats a run exactly.
#pragma once

#include <cstdint>

namespace quillory {

class LegacyRandom {
public:
    explicit LegacyRandom(std::uint32_t seed = 1) : state_(seed) {}
    void Seed(std::uint32_t seed) { state_ = seed; }
    int Next();  // 0 .. 32767
    std::uint32_t State() const { return state_; }

private:
    std::uint32_t state_;
};

}  // namespace quillory
