#pragma once

#include "world/game.hpp"

namespace starvane {

// Weapon 1 is selected at the start of a game: ActiveWeapon, the working record of the selected
// weapon, takes its charge, maximum and damage, and recharges one unit a frame.
void ArmStartWeapon(Game& game);

}  // namespace starvane
