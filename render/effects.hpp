#pragma once
// The short-lived effects of a frame and the lightning bolt. Like the world drawing, they draw
// random numbers (colours, jitter, the shaking view) and add sparks to the world: the order and
// number of these calls is part of the game.

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// In order: sparks fade (and black ones go), the background fades, a fast ship shakes the view,
// the glimmerhex trails sparks with its caption and is re-aimed, the shield pulses, the running
// shock crackles, the teleport ring and its percentage, the glow of the charging weapon 3.
void UpdateEffects(Game& game);

// A jagged line of n points from (x1, y1) to (x2, y2) in world units, each point jittered by
// -5..+5 units on each axis, its colour brightening over the 11-frame cycle. Nothing for n < 2.
void DrawLightning(Game& game, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                   std::int32_t n, std::int32_t red, std::int32_t green, std::int32_t blue);

}  // namespace starvane
