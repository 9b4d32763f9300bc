#include "base/random.hpp"

#include <chrono>

namespace starvane {

std::int32_t Random(RandomGenerator& generator, std::int32_t max) {
  const std::uint64_t draw = generator.Draw64();
  if (max <= 0) return 0;
  // The high half of draw * (max + 1), from 32-bit halves; max + 1 <= 2^31, so nothing overflows.
  const std::uint64_t factor = static_cast<std::uint64_t>(max) + 1;
  const std::uint64_t low = (draw & 0xFFFFFFFFu) * factor;
  const std::uint64_t high = (draw >> 32) * factor + (low >> 32);
  return static_cast<std::int32_t>(high >> 32);
}

std::uint64_t FreshSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
             std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()) ^
         (static_cast<std::uint64_t>(ticks.count()) << 17);
}

}  // namespace starvane
