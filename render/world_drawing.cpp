#include "render/world_drawing.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace starvane {
namespace {

// v + 1 without overflow: a line that starts at the last representable pixel stays there.
std::int32_t OneFurther(std::int32_t v) {
  const std::int64_t next = std::int64_t{v} + 1;
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(next, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

// A line three pixels strong: the plain stroke plus one shifted right at its start and down at
// its end, and one shifted down at its start and right at its end. Outlines and streak shots
// use it so that they stay visible on the 800 x 600 screen.
void DrawThickLine(Game& game, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  Canvas& screen = game.media.Screen;
  screen.LineXY(x1, y1, x2, y2);
  screen.LineXY(OneFurther(x1), y1, x2, OneFurther(y2));
  screen.LineXY(x1, OneFurther(y1), OneFurther(x2), y2);
}

}  // namespace starvane
