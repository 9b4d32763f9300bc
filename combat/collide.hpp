#pragma once
// The collision step of a frame. For every body near the screen, from the home planet on: the
// planet pulls the ship and keeps it out of its hull, other bodies bump the ship, every body
// bounces off the planet, and the shots hit the ship or the body. Damage to the ship is queued in
// ShipOverride for the next upkeep; bodies lose life here and are destroyed later in the frame.

#include "world/game.hpp"

namespace starvane {

void Collide(Game& game);

}  // namespace starvane
