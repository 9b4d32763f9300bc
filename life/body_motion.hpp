#pragma once
// Every frame each body turns about its centre by its spin and drifts by its speed; sparks and
// shots drift by theirs. The world is a torus: a body whose centre leaves it re-enters on the
// other side, all its points shifted together.

#include "world/game.hpp"

namespace starvane {

// Turns every body near the screen by its Spin rounded to whole degrees (halves to even),
// clockwise on the screen for a positive spin. Far bodies keep their orientation.
void RotateBodies(Game& game);

// Moves all bodies (and wraps them round the world), then all sparks, then all shots.
void MoveBodies(Game& game);

}  // namespace starvane
