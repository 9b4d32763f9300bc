#include "world/body_geometry.hpp"

#include <cmath>

namespace starvane {

// The angle in radians and its cosine and sine are worked out in double and rounded once to
// float: the nearest floats to the exact values, so the same bits on every machine and maths
// library (single-precision cos and sin differ between libraries by a float step).
Rotation SetRotation(std::int32_t angle) {
  const double turn = static_cast<double>(angle) * 2.0 * static_cast<double>(kPi) / 360.0;
  Rotation rotation;
  rotation.CosA = static_cast<float>(std::cos(turn));
  rotation.SinA = static_cast<float>(std::sin(turn));
  rotation.CosNegA = static_cast<float>(std::cos(-turn));
  rotation.SinNegA = static_cast<float>(std::sin(-turn));
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
