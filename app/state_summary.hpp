#pragma once

#include <cstdint>
#include <string>

#include "world/game.hpp"

namespace starvane {

// The state summary as one line of JSON: the globals, the ship, the equipment, the list counts
// and the number of bodies of each kind. Floats are printed so that they read back to the same
// float32; a value that is not a number is printed as null.
std::string StateSummary(const Game& game, std::int64_t frame);

}  // namespace starvane
