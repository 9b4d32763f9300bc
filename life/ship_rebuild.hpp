#pragma once
// Putting the ship back at the home planet after a death or a teleport: a fresh outline, at
// rest, with a grey flash; the turret gets a fresh outline too.

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// Where a dead or teleported ship appears: at rest, just outside the home planet's edge.
constexpr std::int32_t kRespawnX = -3000;
constexpr std::int32_t kRespawnY = -3420;

// The colour each frame is cleared with, until the effects fade it back to black.
void SetBackground(Game& game, std::int32_t red, std::int32_t green, std::int32_t blue);

// The ship (body 0) gets its recipe's outline around (x, y), no speed, its spin and colour
// kept; the turret (body 3) its recipe's outline around its own centre, which is not moved.
// Changes queued for the ship's points and speeds are dropped, so that nothing queued earlier
// puts the ship back; a queued life stays. Leaves the turret current.
void RebuildShip(Game& game, std::int32_t x, std::int32_t y);

}  // namespace starvane
