#pragma once

#include <algorithm>
#include <cstdint>

#include "base/rounding.hpp"

namespace starvane {

constexpr std::int64_t kMostMoney = 2147483647;

// money + amount (a reward, or a negative penalty or price), worked out in 64 bits and kept
// within 0..2147483647: the player's money never wraps round and is never negative.
constexpr std::int32_t AddMoney(std::int32_t money, std::int64_t amount) {
  const std::int64_t sum =
      std::int64_t{money} + std::clamp(amount, -kMostMoney * 2, kMostMoney * 2);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, 0, kMostMoney));
}

// Whether the money pays the price. A negative price is never paid: paying it would give the
// player money for a purchase.
constexpr bool CanPay(std::int32_t money, std::int64_t price) {
  return price >= 0 && std::int64_t{money} - price >= 0;
}

// The same for a price that is a float (an equipment's maximum sold at its own value), worked
// out in double: a float would lose units of money above 2^24. A price that is no number is
// never paid.
inline bool CanPayExactly(std::int32_t money, double price) {
  return price >= 0 && static_cast<double>(money) - price >= 0;
}

// The money left after paying such a price, rounded once and kept within 0..2147483647.
inline std::int32_t PayExactly(std::int32_t money, double price) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(RoundToInt(static_cast<double>(money) - price), 0, kMostMoney));
}

}  // namespace starvane
