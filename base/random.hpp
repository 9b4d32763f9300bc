#pragma once
// The game's one random generator. A 64-bit Mersenne Twister: its sequence for a seed is fixed
// by the C++ standard, so a seed means the same world with every compiler and library.

#include <cstdint>
#include <random>

namespace starvane {

class RandomGenerator {
 public:
  void Seed(std::uint64_t seed) {
    seed_ = seed;
    engine_.seed(seed);
  }
  std::uint64_t SeedValue() const { return seed_; }
  std::uint64_t Draw64() { return engine_(); }

 private:
  std::uint64_t seed_ = 0;
  std::mt19937_64 engine_{0};
};

// A uniformly distributed whole number from 0 to max inclusive: the part above the low 64 bits
// of the product of a 64-bit draw and max + 1. Random(0) is 0, and so is any negative max (one draw
// is still made, so the sequence does not depend on the argument).
std::int32_t Random(RandomGenerator& generator, std::int32_t max);

// A seed that differs from run to run, for games started without --seed.
std::uint64_t FreshSeed();

}  // namespace starvane
