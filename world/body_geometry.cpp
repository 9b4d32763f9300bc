#include "world/body_geometry.hpp"

#include <cstddef>

#include "world/degree_factors.hpp"

namespace starvane {

// The factors come from a table of the nearest floats (world/degree_factors.hpp), the same bits
// on every machine and in every build. Cosine is even and sine odd: a negative angle takes the
// factors of its size with the sine's sign turned. Angles beyond a whole turn (the game's own
// never are) count from the last whole turn below them, in integers.
Rotation SetRotation(std::int32_t angle) {
  const std::int64_t size = angle < 0 ? -std::int64_t{angle} : std::int64_t{angle};
  const std::int64_t degrees = size > kWholeTurnDegrees ? size % kWholeTurnDegrees : size;
  const DegreeFactor factor = kDegreeFactors[static_cast<std::size_t>(degrees)];
  const float sine = angle < 0 ? -factor.Sin : factor.Sin;
  Rotation rotation;
  rotation.CosA = factor.Cos;
  rotation.SinA = sine;
  rotation.CosNegA = factor.Cos;
  rotation.SinNegA = -sine;
  return rotation;
}

Point TurnAbout(Point point, Point centre, float c, float s) {
  const float dx = point.X - centre.X;
  const float dy = point.Y - centre.Y;
  return Point{centre.X + c * dx + s * dy, centre.Y + c * dy - s * dx};
}

void MoveBodyTo(Game& game, float x, float y) {
  Body* body = game.Bodies.CurrentElement();
  if (body == nullptr) return;
  const float offset_x = body->Points[0].X - x;
  const float offset_y = body->Points[0].Y - y;
  for (Point& point : body->Points) {
    point.X -= offset_x;
    point.Y -= offset_y;
  }
}

}  // namespace starvane
