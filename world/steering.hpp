#pragma once
// Turning a body towards a target: the enemy craft steer with it, and so does the glimmerhex
// that the effects re-aim as it crosses the screen.

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// A point of a body by an index given as an argument: never outside the outline array.
const Point& PointAt(const Body& body, std::int32_t index);

// Sets the body's Spin to +rate or -rate so that its nose swings towards the line from point
// tail to the target (tx, ty). Never 0: the body swings to and fro about the line. Leaves that
// line in LineSlope and LineIntercept (see LineThrough).
void SteerTo(Game& game, std::int64_t index, std::int32_t nose, std::int32_t tail, std::int32_t tx,
             std::int32_t ty, std::int32_t rate);

}  // namespace starvane
