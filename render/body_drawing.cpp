// Bodies on the screen: a disc in the background colour that hides the stars behind a body, the
// coloured outline through its points, and the small life bar above each enemy craft. Only
// bodies that this frame's visibility pass marked OnScreen are drawn.

#include "render/world_drawing.hpp"
#include "render/world_walk.hpp"
#include "world/kinds.hpp"
#include "world/list_walk.hpp"

namespace starvane {

using render_detail::PixelX;
using render_detail::PixelY;

namespace {

bool SamePoint(const Point& a, const Point& b) {
  return a.X == b.X && a.Y == b.Y;
}

bool IsEnemy(std::int16_t kind) {
  return kind == kKindEnemie || kind == kKindEnemie2 || kind == kKindEnemie3 ||
         kind == kKindEnemie4;
}

}  // namespace

void DrawBodyDiscs(Game& game) {
  Canvas& screen = game.media.Screen;
  WalkList(game.Bodies, [&](const Body& body) {
    if (body.OnScreen != 1) return;
    // Every kind gets its disc, a switched-off shield too.
    const Point& centre = body.Points[0];
    screen.FrontColor(game.BackRed, game.BackGreen, game.BackBlue);
    screen.Circle(PixelX(game, centre.X), PixelY(game, centre.Y), body.Radius);
  });
}

// The closed polygon through points 1 .. n, where point n + 1 is the first point after point 1
// that equals point 0 exactly. A body whose point 2 is already the centre shows as the dot of
// point 1 with a line from point 1 to itself.
//
// Every body the game builds keeps point 100 as a copy of the centre. Should one ever hold an
// outline that never returns to the centre, the walk stops at point 100 and closes the polygon
// from point 100 back to point 1, so nothing beyond the last point is read.
void DrawBodyOutlines(Game& game) {
  Canvas& screen = game.media.Screen;
  WalkList(game.Bodies, [&](const Body& body) {
    if (body.OnScreen != 1 || body.Kind == kKindNone) return;
    const auto& points = body.Points;
    const std::int32_t first_x = PixelX(game, points[1].X);
    const std::int32_t first_y = PixelY(game, points[1].Y);
    screen.FrontColor(body.Red, body.Green, body.Blue);
    screen.Plot(first_x, first_y);
    std::int32_t x = first_x;
    std::int32_t y = first_y;
    for (std::size_t i = 1;; ++i) {
      const bool ends_here = i + 1 >= kBodyPoints || SamePoint(points[i + 1], points[0]);
      if (ends_here) {
        DrawThickLine(game, x, y, first_x, first_y);
        break;
      }
      const std::int32_t next_x = PixelX(game, points[i + 1].X);
      const std::int32_t next_y = PixelY(game, points[i + 1].Y);
      DrawThickLine(game, x, y, next_x, next_y);
      x = next_x;
      y = next_y;
    }
  });
}

// A 20-pixel bar 10 pixels above the bounding square: grey for the whole, red for the part of
// life that is left.
void DrawEnemyLifeBars(Game& game) {
  Canvas& screen = game.media.Screen;
  WalkList(game.Bodies, [&](const Body& body) {
    if (body.OnScreen != 1 || !IsEnemy(body.Kind)) return;
    const Point& centre = body.Points[0];
    const float cx = centre.X + game.ViewX;
    const float top = centre.Y - static_cast<float>(body.Radius) + game.ViewY - 10.0f;
    const std::int32_t left = RoundToInt(cx - 10.0f);
    const std::int32_t row = RoundToInt(top);
    screen.FrontColor(50, 50, 50);
    screen.LineXY(left, row, RoundToInt(cx + 10.0f), row);
    const float filled_end = centre.X + (20.0f / body.LifeMax) * body.Life + game.ViewX - 10.0f;
    screen.FrontColor(255, 50, 50);
    screen.LineXY(left, row, RoundToInt(filled_end), row);
  });
}

}  // namespace starvane
