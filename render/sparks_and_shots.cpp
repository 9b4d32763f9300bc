// Sparks and shots: single points of the world, culled with fixed windows around the ship. The
// shot window is larger than the screen so that a streak entering from outside is still drawn.

#include "base/random.hpp"
#include "render/world_drawing.hpp"
#include "render/world_walk.hpp"
#include "world/adders.hpp"
#include "world/list_walk.hpp"
#include "world/shot_style.hpp"

namespace starvane {

using render_detail::PixelX;
using render_detail::PixelY;
using render_detail::ShipWindow;

// A square of Size pixels around the spark. Its corner is rounded once in world units and once
// more after the view shift, the way the game has always placed it.
void DrawSparks(Game& game) {
  Canvas& screen = game.media.Screen;
  const ShipWindow window(game, 400.0f, 400.0f, 300.0f, 300.0f);
  WalkList(game.Sparks, [&](const Spark& spark) {
    if (!window.Contains(spark.X, spark.Y)) return;
    const float half = static_cast<float>(spark.Size) / 2.0f;
    const std::int32_t left =
        RoundToInt(static_cast<float>(RoundToInt(spark.X - half)) + game.ViewX);
    const std::int32_t top =
        RoundToInt(static_cast<float>(RoundToInt(spark.Y - half)) + game.ViewY);
    screen.FrontColor(spark.Red, spark.Green, spark.Blue);
    screen.Box(left, top, spark.Size, spark.Size);
  });
}

// A streak reaches back along one frame of the shot's movement; a dot is a 2 x 2 box; a ball is
// a circle whose radius flickers between 7 and 9 and which trails a fading spark each frame,
// only while it is inside the window. Unknown styles draw nothing.
void DrawShots(Game& game) {
  Canvas& screen = game.media.Screen;
  const ShipWindow window(game, 500.0f, 500.0f, 400.0f, 400.0f);
  WalkList(game.Shots, [&](const Shot& shot) {
    if (!window.Contains(shot.X, shot.Y)) return;
    screen.FrontColor(shot.Red, shot.Green, shot.Blue);
    const float sx = shot.X + game.ViewX;
    const float sy = shot.Y + game.ViewY;
    switch (shot.Style) {
      case ShotStyle::Streak:
        DrawThickLine(game, RoundToInt(sx), RoundToInt(sy), RoundToInt(sx - shot.SpeedX),
                      RoundToInt(sy - shot.SpeedY));
        break;
      case ShotStyle::Dot:
        screen.Box(RoundToInt(sx), RoundToInt(sy), 2, 2);
        break;
      case ShotStyle::Ball: {
        const std::int32_t radius = 7 + Random(game.Rng, 2);
        screen.Circle(RoundToInt(sx), RoundToInt(sy), radius);
        // Random values of one call are drawn from the last argument to the first.
        const auto drift_y = static_cast<float>(Random(game.Rng, 2) - 1);
        const auto drift_x = static_cast<float>(Random(game.Rng, 2) - 1);
        AddSpark(game, RoundToInt(shot.X), RoundToInt(shot.Y), drift_x, drift_y, 4, 0, shot.Red,
                 shot.Green, shot.Blue);
        break;
      }
      default:
        break;
    }
  });
}

}  // namespace starvane
