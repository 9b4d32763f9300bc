#include "life/body_motion.hpp"

#include <cmath>

#include "base/rounding.hpp"
#include "world/body_geometry.hpp"
#include "world/list_walk.hpp"

namespace starvane {
namespace {

bool SameAs(const Point& a, const Point& b) {
  return a.X == b.X && a.Y == b.Y;
}

// Turns the outline by whole degrees with the factors (c, s): point 1 always, then each next
// point until the first copy of point 0, and never past point 100. The turned offset is worked
// out in floats first and only then added to the centre, so that far from the origin a turn
// loses no more than the offset's own rounding.
void TurnOutline(Body& body, float c, float s) {
  const Point centre = body.Points[0];
  for (std::size_t i = 1; i < kBodyPoints; ++i) {
    Point& point = body.Points[i];
    const float dx = point.X - centre.X;
    const float dy = point.Y - centre.Y;
    point.Y = centre.Y + (c * dy - s * dx);
    point.X = centre.X + (c * dx + s * dy);
    if (i + 1 < kBodyPoints && SameAs(body.Points[i + 1], centre)) break;
  }
}

// How far to shift a centre at c so that it lies in -half..half again: whole turns of the
// world, 2 * half each. One turn for anything a frame's speed brings today; a remainder for
// any distance, so no position can stay outside the world.
float WrapShift(float c, std::int32_t half) {
  if (!std::isfinite(c)) return 0;
  const double h = half;
  if (c > h) return static_cast<float>(std::ceil((c - h) / (2 * h)) * 2 * h);
  if (c < -h) return static_cast<float>(-std::ceil((-h - c) / (2 * h)) * 2 * h);
  return 0;
}

}  // namespace

void RotateBodies(Game& game) {
  WalkList(game.Bodies, [&](Body& body) {
    if (body.NearScreen != 1) return;
    if (!(body.Spin > 0 || body.Spin < 0)) return;  // no spin (or no number) turns nothing
    // Whole degrees, halves to even; both directions turn by the same formula.
    const std::int32_t degrees = RoundToInt(body.Spin < 0 ? -body.Spin : body.Spin);
    const Rotation rotation = SetRotation(degrees);
    if (body.Spin > 0) {
      TurnOutline(body, rotation.CosNegA, rotation.SinNegA);
    } else {
      TurnOutline(body, rotation.CosA, rotation.SinA);
    }
  });
}

void MoveBodies(Game& game) {
  WalkList(game.Bodies, [&](Body& body) {
    for (Point& point : body.Points) {
      point.X += body.SpeedX;
      point.Y += body.SpeedY;
    }
    // The world is a torus; the centre alone decides, and the whole body goes along.
    const float shift_x = WrapShift(body.Points[0].X, game.WorldWidth);
    const float shift_y = WrapShift(body.Points[0].Y, game.WorldHeight);
    if (shift_x != 0) {
      for (Point& point : body.Points) point.X -= shift_x;
    }
    if (shift_y != 0) {
      for (Point& point : body.Points) point.Y -= shift_y;
    }
  });
  // Sparks and shots fly on unwrapped; others remove them.
  WalkList(game.Sparks, [](Spark& spark) {
    spark.X += spark.SpeedX;
    spark.Y += spark.SpeedY;
  });
  WalkList(game.Shots, [](Shot& shot) {
    shot.X += shot.SpeedX;
    shot.Y += shot.SpeedY;
  });
}

}  // namespace starvane
