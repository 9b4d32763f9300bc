#pragma once

#include "world/game.hpp"

namespace starvane {

// Recomputes every body's OnScreen (its bounding square overlaps the screen) and NearScreen
// (it overlaps the screen widened by 400 pixels, 600 below) from the view of this frame, and
// removes the fragments that are no longer near.
void UpdateVisibility(Game& game);

}  // namespace starvane
