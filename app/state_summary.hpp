#pragma once

#include <cstdint>
#include <string>

#include "world/game.hpp"

namespace starvane {

// The state summary as one line of JSON: the globals, the ship, the equipment, the list counts,
// the number of bodies of each kind, every body in list order ("bodies": kind, point 0 as x and
// y, speeds, spin, radius, life, onScreen, nearScreen, and outline point 1 as "p1") and the hash
// of the last presented frame ("frameHash": FrameHash of the back buffer as 16 lowercase hex
// digits). Floats are printed so that they read back to the same float32; a value that is not a
// number is printed as null. Text is plain ASCII: other bytes are escaped as \u00XX.
std::string StateSummary(const Game& game, std::int64_t frame);

}  // namespace starvane
