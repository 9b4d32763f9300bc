#pragma once
// The player's shock strikes the bodies in range, the fourth enemy kind is shown striking the
// ship, and every body whose life has run out is destroyed: it pays its reward, leaves smaller
// rocks, small enemies or fragments behind, and bursts into sparks.

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// The step of a frame: every body from the turret (index 3) on, near the screen or not. The
// bodies a destruction leaves behind are inserted right after the destroyed one and are visited
// by the same walk.
void ShockAndDestroy(Game& game);

// Adds two fragments (kind 100, half the life) made from the two halves of a fresh body of the
// same kind as the body at index k: the first keeps the first half of the outline, the second
// starts where the first ends. Leaves body k current.
void SplitBody(Game& game, std::int64_t k);

}  // namespace starvane
