#pragma once
// The cosine and sine of every whole angle of a turn, 0 to 360 degrees, turned into radians with
// the game's float Pi (world/body_geometry.hpp) and rounded once to the nearest float. Kept as
// numbers rather than computed, so that no maths library's cosine (they differ between
// machines, and between the desktop and the browser) can change a turned outline.

#include <array>

namespace starvane {

struct DegreeFactor {
  float Cos;
  float Sin;
};

inline constexpr int kWholeTurnDegrees = 360;

// Index: the angle in degrees, 0 to 360 inclusive. The float Pi is a hair above pi, so 360
// degrees is not quite a whole turn: its sine is not zero, and the game uses it (a spark's
// direction is drawn from 0 to 360 inclusive).
extern const std::array<DegreeFactor, kWholeTurnDegrees + 1> kDegreeFactors;

}  // namespace starvane
