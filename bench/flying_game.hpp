#pragma once
// A generated world for benchmarks, flown by held keys: the ship circles (thrust and brake
// together hold its speed) and fires weapon 1 all the time.

#include <cstdint>

#include "media/keys.hpp"
#include "tests/support/harness.hpp"

namespace starvane::bench {

inline testing::Harness FlyingGame(std::int32_t half_extent = 10000) {
  testing::Harness flight({.held_keys = true,
                           .difficulty = 1,
                           .half_extent = half_extent,
                           .world = testing::World::Generated,
                           .arm = true});
  for (int key : {kKeyUp, kKeyDown, kKeyLeft, kKeySpace}) flight.Hold(key);
  return flight;
}

}  // namespace starvane::bench
