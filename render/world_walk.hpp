#pragma once
// What every layer of the world drawing shares: the cheap box test against a window around the
// ship, and turning a world position into a pixel. Layers walk their lists with WalkList.

#include <cstdint>

#include "base/rounding.hpp"
#include "world/game.hpp"

namespace starvane::render_detail {

// A window around the ship, from ShipX - left to ShipX + right and from ShipY - up to
// ShipY + down. Only what lies strictly inside is drawn: an object exactly on an edge is out.
struct ShipWindow {
  ShipWindow(const Game& game, float left, float right, float up, float down)
      : min_x(game.ShipX - left),
        max_x(game.ShipX + right),
        min_y(game.ShipY - up),
        max_y(game.ShipY + down) {}
  // The four tests are combined without branches: about half of all stars fail the first one at
  // random, which would cost a mispredicted branch each, while the combined test is almost
  // always false and so well predicted.
  bool Contains(float x, float y) const {
    return static_cast<bool>((min_x < x) & (x < max_x) & (min_y < y) & (y < max_y));
  }

  float min_x;
  float max_x;
  float min_y;
  float max_y;
};

// The screen pixel of a world coordinate: shifted by the view, then rounded once.
inline std::int32_t PixelX(const Game& game, float x) {
  return RoundToInt(x + game.ViewX);
}
inline std::int32_t PixelY(const Game& game, float y) {
  return RoundToInt(y + game.ViewY);
}

}  // namespace starvane::render_detail
