#pragma once

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// The most sparks one burst throws. A contact at a high speed asks for as many sparks as the
// speed; beyond this many they would only slow the game down. The sparks still fly as fast as
// the burst's full n says.
constexpr std::int32_t kMostSparksPerBurst = 1000;

// Throws n fading 2-pixel sparks of one colour from (x, y) in world units: each flies at up to
// n / 2 units a frame on each axis, in tenths, turned by a random whole angle. Nothing when
// n < 1; at most kMostSparksPerBurst sparks, at the speeds of the whole n.
void SparkBurst(Game& game, std::int32_t x, std::int32_t y, std::int32_t n, std::int32_t red,
                std::int32_t green, std::int32_t blue);

}  // namespace starvane
