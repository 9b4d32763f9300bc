#pragma once
// How a shot looks, and the one rule that goes with a look: the ball pierces.

#include <cstdint>

namespace starvane {

// The look of a shot, kept in its record. A value that is none of these draws nothing.
enum class ShotStyle : std::int16_t {
  Streak = 1,  // a line back along one frame of its movement
  Dot = 2,     // a 2 x 2 box
  Ball = 3,    // a flickering circle that trails a fading spark
};

// A piercing shot reaches this much beyond a body's radius, and passes on through each body it
// hits, one damage weaker each time, until it has none left. Every other shot stops at its
// first hit.
constexpr float kPiercingReach = 10;

constexpr bool Pierces(ShotStyle style) {
  return style == ShotStyle::Ball;
}

}  // namespace starvane
