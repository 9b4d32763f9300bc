#pragma once

#include "world/game.hpp"

namespace starvane {

// Tests every shot against the ship and against one body near the screen: a shot more than 1200
// units from the ship or outside the world is removed; one within the ship's radius hits the
// ship (its life through ShipOverride, or a third of the damage from the energy when the
// shield is on); one within the body's radius takes its damage from the body's Life (never from
// the turret). A ball shot passes on with one damage less; every other shot is used up.
void ShotPass(Game& game, Body& body);

}  // namespace starvane
