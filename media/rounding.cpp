#include "media/rounding.hpp"

#include <cmath>
#include <limits>

namespace starvane {

std::int32_t RoundToInt(double x) noexcept {
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

}  // namespace starvane
