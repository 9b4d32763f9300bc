#pragma once

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// The first step of the main sequence: seeds the random generator and empties the six world
// lists (the Game made them). Every other field already holds its start value from the Game's
// construction.
void Startup(Game& game, std::uint64_t seed);

}  // namespace starvane
