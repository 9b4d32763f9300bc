#pragma once
// Turning and moving bodies.

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// The game's Pi: the float 3.1415927f on purpose, not the double. The game turns its angles into
// radians with this float, and the rotation factors (so every turned outline, the planet's
// corners and the sparks' directions) are the ones it gives.
inline constexpr float kPi = 3.1415927f;

// The rotation factors for a whole number of degrees: the cosine and sine of the angle and of
// minus the angle. The pair (CosNegA, SinNegA) turns a point clockwise on the screen by the
// angle, the pair (CosA, SinA) anticlockwise.
struct Rotation {
  float CosA = 1;
  float SinA = 0;
  float CosNegA = 1;
  float SinNegA = 0;
};

// The factors for angle degrees, the angle turned into radians with kPi.
Rotation SetRotation(std::int32_t angle);

// The point turned about the centre with the factors (c, s):
// (centre.x + c*dx + s*dy, centre.y + c*dy - s*dx), where d = point - centre.
Point TurnAbout(Point point, Point centre, float c, float s);

// Moves the current body without changing its shape, so that its point 0 lands on (x, y): the
// offset is computed once and subtracted from all 101 points, which keeps every copy of point 0
// a copy. Speeds, spin and every other field stay as they are.
void MoveBodyTo(Game& game, float x, float y);

}  // namespace starvane
