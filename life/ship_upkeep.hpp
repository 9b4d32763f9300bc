#pragma once
// The ship's upkeep: the ship is body 0, but its life, energy and weapon live in equipment
// records. Each frame the queued changes reach the ship, the shared copies of its position and
// speed are taken, a dead ship respawns, the view follows it, its shield and turret ride along,
// and the equipment pays for the switches, regenerates and reloads.

#include "world/game.hpp"

namespace starvane {

// Applies the queued changes (ShipOverride: 0.0 means no change), publishes ShipX, ShipY and the
// speeds, respawns a dead ship at the home planet for a money penalty, centres the view on the
// ship, carries the shield and turret, and advances FrameTick, FrameTock and TeleportCharge.
void ShipUpkeep(Game& game);

// The shield, shock and boost are paid from the energy and fall off when it runs out; energy and
// life regenerate (twice as fast while the home planet is on the screen); the weapon reloads.
void UpdateEquipment(Game& game);

}  // namespace starvane
