#pragma once

#include "world/game.hpp"

namespace starvane {

// Fills the empty world: the ship, its shield (switched off), the home planet, the turret and
// the glimmerhex at indices 0 to 4, then the enemy craft, the rocks, the rock belt and the two
// star layers. The same seed always gives the same world.
void GenerateWorld(Game& game);

}  // namespace starvane
