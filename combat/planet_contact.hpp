#pragma once
// What the home planet does to the ship: it pulls it, and it pushes it back out of its hull.

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// The most passes of the hull test in one frame. A ship deep inside the planet needs many, one
// on the planet's very centre would need endless ones; the rest of the push waits for the next
// frame.
constexpr std::int32_t kMostHullPasses = 10000;

// Adds the planet's pull, -Gravity / distance squared towards its centre, to the ship's speed.
// Nothing at the centre itself, nor when the pull is not a finite number.
void PullShip(Game& game, const Body& planet);

// Moves the ship out of the planet's outline, a ten-thousandth of its distance from the centre
// for each of its points found inside, pass after pass until a pass finds none inside. Each
// contact queues a fifth of the speed backwards and, above a speed of 1, the speed off the
// ship's life; a burst of sparks shows that there was contact.
void PushShipOutOfHull(Game& game, const Body& planet);

}  // namespace starvane
