#pragma once
// The sound's own noise: a tiny xorshift generator, seeded once, never the game's random
// generator (whose numbers belong to the game's rules alone).

#include <cstdint>

namespace starvane {

class SoundNoise {
 public:
  // The next value, -1 to 1.
  float Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(static_cast<std::int32_t>(state_)) * (1.0f / 2147483648.0f);
  }

 private:
  std::uint32_t state_ = 0x9E3779B9u;
};

}  // namespace starvane
