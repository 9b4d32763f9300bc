#pragma once
// The later passes of the hull test, made cheap enough for a ship that lands deep inside the
// planet: a million pushes and more, each a ten-thousandth of the ship's distance from the centre.

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// Runs the passes of the hull test that follow a first pass which pushed the ship and changed
// it, so that ShipCopy holds the ship's points and the last line of the planet's outline is in
// LineSlope and LineIntercept. Each pass tests the outline points 1, 2, ... (the outline counted
// again after every push) and pushes the whole ship by (step_x, step_y) for each point found
// inside; the passes end with the first that finds none inside, or with one whose pushes change
// nothing, as every pass after it would repeat it forever. The ship and ShipCopy end exactly as
// that pass-by-pass walk leaves them. Returns the point at which the last pass stopped.
std::int32_t RunLaterHullPasses(Game& game, const Body& planet, float step_x, float step_y);

}  // namespace starvane
