#pragma once
// What is drawn over the world in flight: the status bars, the minimap and the HUD text.

#include "world/game.hpp"

namespace starvane {

// Life (red) and energy (blue) along the bottom, the weapon's charge (green) at the top left.
void DrawStatusBars(Game& game);

// The whole world at a small scale in the bottom right corner, every body marked by its kind,
// the ship last as a green square.
void DrawMiniMap(Game& game);

// The selected weapon at the top left and the money at the bottom left.
void DrawHudText(Game& game);

}  // namespace starvane
