// The random generator of one allocation run. Seeded once, from the clock unless a seed is given,
// so that the same seed and the same data give the same timetable. (Earlier versions re-seeded
// from the clock before every draw, which repeated the same draw many times within one clock tick
// and made no run repeatable.) The generator and its draws are our own, not the standard
// library's distributions, whose results differ between library versions.
#pragma once

#include <cstdint>
#include <vector>

namespace tavrel::engine {

class RunRandom {
 public:
  explicit RunRandom(std::uint64_t seed) : seed_(seed) {
    std::uint64_t mix = seed;
    for (auto& word : state_) word = splitMix(mix);
  }

  std::uint64_t seed() const { return seed_; }

  // A uniformly random number in [0, n), n > 0.
  std::uint32_t below(std::uint32_t n) {
    // Lemire's multiply-and-reject: unbiased and without a division in the common case.
    std::uint64_t product = static_cast<std::uint64_t>(next32()) * n;
    auto low = static_cast<std::uint32_t>(product);
    if (low < n) {
      const std::uint32_t threshold = -n % n;
      while (low < threshold) {
        product = static_cast<std::uint64_t>(next32()) * n;
        low = static_cast<std::uint32_t>(product);
      }
    }
    return static_cast<std::uint32_t>(product >> 32);
  }

  // Takes a uniformly random member out of the pool and returns it; the pool must not be empty.
  int draw(std::vector<int>& pool) {
    const std::size_t at = below(static_cast<std::uint32_t>(pool.size()));
    const int value = pool[at];
    pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(at));
    return value;
  }

 private:
  static std::uint64_t splitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

  // xoshiro256**
  std::uint32_t next32() {
    const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const std::uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return static_cast<std::uint32_t>(result >> 32);
  }

  std::uint64_t seed_;
  std::uint64_t state_[4]{};
};

}  // namespace tavrel::engine
