#include "world/contact_geometry.hpp"

namespace starvane {

void LineThrough(Game& game, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  // Worked out in 64 bits first: the ends may be any integers, and their differences must not
  // overflow.
  std::int64_t run = std::int64_t{x1} - x2;
  if (run == 0) run = -1;  // a vertical line: as if the second end were one unit to the right
  const auto rise = static_cast<float>(std::int64_t{y1} - y2);
  game.LineSlope = rise / static_cast<float>(run);
  game.LineIntercept = static_cast<float>(y1) - game.LineSlope * static_cast<float>(x1);
}

std::int32_t OutlineLength(Game& game, std::int64_t index) {
  const Body& body = game.Bodies.At(index);
  const Point& centre = body.Points[0];
  std::int32_t count = 0;
  for (std::size_t i = 1; i < kBodyPoints - 1; ++i) {
    const Point& point = body.Points[i];
    if (point.X == centre.X || point.Y == centre.Y) break;
    ++count;
  }
  return count;
}

std::int32_t BodiesTouch(Game& game, std::int64_t a, std::int64_t b) {
  const Body& second = game.Bodies.At(b);
  const float bx = second.Points[0].X;
  const float by = second.Points[0].Y;
  const auto radius_b = static_cast<float>(second.Radius);
  const Body* first = game.Bodies.SelectElement(a);
  if (first == nullptr) return 0;
  const float reach = static_cast<float>(first->Radius) + radius_b;
  return Distance(first->Points[0].X, first->Points[0].Y, bx, by) <= reach ? 1 : 0;
}

}  // namespace starvane
