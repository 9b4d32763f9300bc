#pragma once
// The one way a float becomes an integer in this game.

#include <cmath>
#include <cstdint>
#include <limits>

namespace starvane {

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
// Defined for every input: NaN gives 0, values beyond the 32-bit range saturate at its ends.
// Inline: every pixel of the world is placed through it.
inline std::int32_t RoundToInt(double x) noexcept {
  using Limits = std::numeric_limits<std::int32_t>;
  if (std::isnan(x)) return 0;
  if (x >= static_cast<double>(Limits::max())) return Limits::max();
  if (x <= static_cast<double>(Limits::min())) return Limits::min();
  // Done by hand rather than with the floating-point environment's rounding mode, so the
  // result never depends on a mode some library might have changed.
  const double below = std::floor(x);
  const double fraction = x - below;
  double nearest = below;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) nearest = below + 1.0;
  return static_cast<std::int32_t>(nearest);
}

// A 16-bit field keeps the low 16 bits of the integer stored in it (70000 -> 4464).
constexpr std::int16_t Low16(std::int64_t v) noexcept {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
}

}  // namespace starvane
