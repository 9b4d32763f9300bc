#pragma once
// The small geometry that collisions, steering and destruction share: distances, the line
// through two points, the length of an outline, and whether two bodies touch.

#include <cmath>
#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// The distance between two points, in float arithmetic.
inline float Distance(float x1, float y1, float x2, float y2) {
  const float dx = x2 - x1;
  const float dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}

// Sets LineSlope and LineIntercept to the line through (x1, y1) and (x2, y2):
// LineSlope = (y1 - y2) / (x1 - x2), LineIntercept = y1 - LineSlope * x1.
// Two ends with the same x make a vertical line, which has no slope. It is then taken as the
// steepest line the whole-unit grid allows in its place, the line through (x1, y1) and
// (x2 + 1, y2): finite, and on the side a line with the second end a hair to the right would
// be. Two equal ends give the level line through them.
void LineThrough(Game& game, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

// How many outline points the body at the 0-based index has: counted from point 1 up to the
// first point with exactly the x or exactly the y of point 0. At most 99; 0 for an index
// outside the list. The cursor does not move.
std::int32_t OutlineLength(Game& game, std::int64_t index);

// 1 when the centres of bodies a and b are at most the sum of their radii apart, else 0.
// Leaves body a current.
std::int32_t BodiesTouch(Game& game, std::int64_t a, std::int64_t b);

}  // namespace starvane
