#pragma once
// What every layer of the world drawing shares: walking a world list from its start, the cheap
// box test against a window around the ship, and turning a world position into a pixel.

#include <cstdint>

#include "media/cursor_list.hpp"
#include "media/rounding.hpp"
#include "world/game.hpp"

namespace starvane::render_detail {

// Visits every element from the first to the last. Like any walk in the game, it leaves the
// list's cursor on its last element (on none when the list is empty).
template <typename T, typename Visit>
void WalkList(CursorList<T>& list, Visit&& visit) {
  list.ResetList();
  while (T* element = list.NextElement()) visit(*element);
}

// True when (x, y) lies strictly inside the window that reaches from ShipX - left to
// ShipX + right and from ShipY - up to ShipY + down. An object exactly on an edge is outside.
inline bool InShipWindow(const Game& game, float x, float y, float left, float right, float up,
                         float down) {
  return game.ShipX - left < x && x < game.ShipX + right && game.ShipY - up < y &&
         y < game.ShipY + down;
}

// The screen pixel of a world coordinate: shifted by the view, then rounded once.
inline std::int32_t PixelX(const Game& game, float x) {
  return RoundToInt(x + game.ViewX);
}
inline std::int32_t PixelY(const Game& game, float y) {
  return RoundToInt(y + game.ViewY);
}

}  // namespace starvane::render_detail
