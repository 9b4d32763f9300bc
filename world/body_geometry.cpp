#include "world/body_geometry.hpp"

#include <cmath>

namespace starvane {

void SetRotation(Game& game, std::int32_t angle) {
  const float turn = static_cast<float>(angle) * 2.0f * game.Pi / 360.0f;
  game.CosA = std::cos(turn);
  game.SinA = std::sin(turn);
  game.CosNegA = std::cos(-turn);
  game.SinNegA = std::sin(-turn);
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
