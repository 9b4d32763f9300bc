#pragma once

#include "world/game.hpp"

namespace starvane {

// Queues the ship's life after a contact for the next upkeep. There a queued 0.0 means no
// change, so a contact that leaves the ship exactly nothing queues -1.0 instead: the contact
// is lethal either way, and is never lost.
inline void QueueShipLife(Game& game, float life) {
  game.ShipOverride.Life = life == 0.0f ? -1.0f : life;
}

}  // namespace starvane
