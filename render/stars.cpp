// The two star layers behind everything else. Their greys are drawn anew for every visible star
// in every frame, so the sky twinkles.

#include "base/random.hpp"
#include "render/world_drawing.hpp"
#include "render/world_walk.hpp"
#include "world/list_walk.hpp"

namespace starvane {

using render_detail::PixelX;
using render_detail::PixelY;
using render_detail::ShipWindow;

// Bright 2 x 2 stars at the world's own scale, culled to the screen around the ship.
void DrawBigStars(Game& game) {
  Canvas& screen = game.media.Screen;
  const ShipWindow window(game, 400.0f, 400.0f, 300.0f, 300.0f);
  WalkList(game.BigStars, [&](const Star& star) {
    if (!window.Contains(star.X, star.Y)) return;
    const std::int32_t grey = Random(game.Rng, 155) + 100;
    screen.FrontColor(grey, grey, grey);
    screen.Box(PixelX(game, star.X), PixelY(game, star.Y), 2, 2);
  });
}

// Dim single-pixel stars at two thirds of the world's scale: a parallax layer that drifts more
// slowly than the world. The window is larger than the screen because the positions shrink.
// The integer division truncates, so these stars only ever land on even pixels.
void DrawSmallStars(Game& game) {
  Canvas& screen = game.media.Screen;
  const ShipWindow window(game, 400.0f, 1200.0f, 300.0f, 900.0f);
  WalkList(game.SmallStars, [&](const Star& star) {
    if (!window.Contains(star.X, star.Y)) return;
    const std::int32_t grey = Random(game.Rng, 155) + 20;
    screen.FrontColor(grey, grey, grey);
    screen.Plot(2 * (PixelX(game, star.X) / 3), 2 * (PixelY(game, star.Y) / 3));
  });
}

}  // namespace starvane
