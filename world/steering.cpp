#include "world/steering.hpp"

#include <algorithm>
#include <cstddef>

#include "base/rounding.hpp"
#include "world/contact_geometry.hpp"

namespace starvane {

const Point& PointAt(const Body& body, std::int32_t index) {
  return body.Points[static_cast<std::size_t>(std::clamp(index, 0, kBodyPoints - 1))];
}

void SteerTo(Game& game, std::int64_t index, std::int32_t nose, std::int32_t tail, std::int32_t tx,
             std::int32_t ty, std::int32_t rate) {
  Body& body = game.Bodies.At(index);
  const Point& from = PointAt(body, tail);
  const Point& tip = PointAt(body, nose);
  LineThrough(game, RoundToInt(from.X), RoundToInt(from.Y), tx, ty);
  // The product is rounded before the intercept is added.
  const float line_y = static_cast<float>(RoundToInt(game.LineSlope * tip.X)) + game.LineIntercept;
  const bool above = tip.Y < line_y;
  const bool target_right = tx > RoundToInt(tip.X);
  const bool clockwise = target_right ? above : !above;
  body.Spin = static_cast<float>(clockwise ? rate : -rate);
}

}  // namespace starvane
