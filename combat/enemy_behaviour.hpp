#pragma once
// The enemy craft near the screen chase the ship, turn their nose towards it and fire when it
// is lined up; the smallest kind drains the ship instead. Far from the screen they coast to a
// stop. Each operation takes the body by its 0-based index in Bodies and leaves the cursor
// where it was.

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// The step of a frame: every body from index 2 on.
void SteerEnemies(Game& game);

// Accelerates the body along its nose (point nose minus point 0, divided by divisor) and puffs
// an orange exhaust spark backwards from point tail.
void Thrust(Game& game, std::int64_t index, std::int32_t nose, std::int32_t tail,
            std::int32_t divisor);

// When the nose lies within 7 units (along y) of the line from point tail to (tx, ty), adds one
// shot from the nose, as the body's kind fires.
void FireAt(Game& game, std::int64_t index, std::int32_t nose, std::int32_t tail, std::int32_t tx,
            std::int32_t ty);

}  // namespace starvane
