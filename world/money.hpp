#pragma once

#include <algorithm>
#include <cstdint>

namespace starvane {

constexpr std::int64_t kMostMoney = 2147483647;

// money + amount (a reward, or a negative penalty or price), worked out in 64 bits and kept
// within 0..2147483647: the player's money never wraps round and is never negative.
constexpr std::int32_t AddMoney(std::int32_t money, std::int64_t amount) {
  const std::int64_t sum =
      std::int64_t{money} + std::clamp(amount, -kMostMoney * 2, kMostMoney * 2);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, 0, kMostMoney));
}

}  // namespace starvane
