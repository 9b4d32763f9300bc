#pragma once
// Turning and moving bodies.

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// Sets CosA, SinA (angle) and CosNegA, SinNegA (-angle), angle in whole degrees. The pair
// (CosNegA, SinNegA) then turns a point clockwise on the screen by angle degrees, the pair
// (CosA, SinA) anticlockwise.
void SetRotation(Game& game, std::int32_t angle);

// The point turned about the centre with the factors (c, s):
// (centre.x + c*dx + s*dy, centre.y + c*dy - s*dx), where d = point - centre.
Point TurnAbout(Point point, Point centre, float c, float s);

// Moves the current body without changing its shape, so that its point 0 lands on (x, y): the
// offset is computed once and subtracted from all 101 points, which keeps every copy of point 0
// a copy. Speeds, spin and every other field stay as they are.
void MoveBodyTo(Game& game, float x, float y);

}  // namespace starvane
