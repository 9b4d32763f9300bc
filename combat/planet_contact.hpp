#pragma once
// What the home planet does to the ship: it pulls it, and it pushes it back out of its hull.

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// Adds the planet's pull, -Gravity / distance squared towards its centre, to the ship's speed.
// Nothing at the centre itself, nor when the pull is not a finite number.
void PullShip(Game& game, const Body& planet);

// Moves the ship out of the planet's outline, a ten-thousandth of its distance from the centre
// for each of its points found inside, pass after pass until a pass finds none inside, however
// deep the ship lies. A pass whose pushes change nothing (a ship on or next to the planet's very
// centre, whose steps are too small to move a coordinate) ends the test too, as every pass after
// it would repeat it forever. Each contact queues a fifth of the speed backwards and, above a
// speed of 1, the speed off the ship's life; a burst of sparks shows that there was contact.
void PushShipOutOfHull(Game& game, const Body& planet);

}  // namespace starvane
