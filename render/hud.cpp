#include "render/hud.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/rounding.hpp"
#include "base/text_numbers.hpp"
#include "world/kinds.hpp"
#include "world/list_walk.hpp"

namespace starvane {
namespace {

// Where a bar of `length` pixels from `start` ends for value / max: rounded up, the end pixel
// itself not drawn. Any finite end is drawn as it falls, also one before the start that a
// negative maximum from an edited ship file gives (the bar then runs left, off the screen); an
// end that is no finite number (a maximum of 0, infinities) draws no bar.
std::int32_t BarEnd(float value, float max, float length, std::int32_t start) {
  const float end = std::ceil(value / max * length + static_cast<float>(start));
  if (!std::isfinite(end)) return start;
  return RoundToInt(end);
}

// The minimap: the world's -half..+half on each axis scaled to `reach` pixels either side of the
// map's centre, the offset rounded before it is added. A body far outside the world (or a world
// of no size) lands at the end of the integer range rather than overflowing it.
std::int32_t OnMap(float position, std::int32_t half_extent, float reach, std::int32_t centre) {
  using Limits = std::numeric_limits<std::int32_t>;
  const std::int64_t offset = RoundToInt(position / static_cast<float>(half_extent) * reach);
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(offset + centre, Limits::min(), Limits::max()));
}
std::int32_t MapX(const Game& game, float x, std::int32_t centre) {
  return OnMap(x, game.WorldWidth, 80, centre);
}
std::int32_t MapY(const Game& game, float y, std::int32_t centre) {
  return OnMap(y, game.WorldHeight, 60, centre);
}

void MarkBody(Canvas& screen, std::int16_t kind, std::int32_t x, std::int32_t y) {
  switch (kind) {
    case kKindGlimmerhex:
      break;  // it does not show on the map
    case kKindEnemie2:
      screen.FrontColor(255, 0, 0);
      screen.Box(x, y, 2, 2);
      break;
    case kKindEnemie:
      screen.FrontColor(255, 0, 0);
      screen.Plot(x, y);
      break;
    case kKindEnemie3:
    case kKindEnemie4:
      screen.FrontColor(255, 200, 0);
      screen.Plot(x, y);
      break;
    case kKindPlanet:
      screen.FrontColor(100, 100, 255);
      screen.Circle(x, y, 3);
      break;
    default:  // the ship and what goes with it, rocks, fragments
      screen.FrontColor(0, 0, 255);
      screen.Plot(x, y);
      break;
  }
}

}  // namespace

void DrawStatusBars(Game& game) {
  Canvas& screen = game.media.Screen;
  screen.FrontColor(255, 0, 0);
  screen.LineXY(10, 590, BarEnd(game.Life.Value, game.Life.Max, 619, 10), 590);
  screen.FrontColor(0, 100, 255);
  screen.LineXY(10, 585, BarEnd(game.Energie.Value, game.Energie.Max, 619, 10), 585);
  // The weapon's charge pales from (0, 200, 0) to (100, 200, 100) over each 11-frame cycle.
  const std::int32_t pale = 10 * game.FrameTick;
  screen.FrontColor(pale, 200, pale);
  screen.LineXY(5, 20, BarEnd(game.ActiveWeapon.Value, game.ActiveWeapon.Max, 50, 5), 20);
}

void DrawMiniMap(Game& game) {
  Canvas& screen = game.media.Screen;
  screen.FrontColor(50, 50, 50);
  screen.LineXY(639, 479, 800, 479);
  screen.LineXY(639, 480, 639, 600);
  // Every body of the world, wherever it is; nothing is culled.
  WalkList(game.Bodies, [&](const Body& body) {
    MarkBody(screen, body.Kind, MapX(game, body.Points[0].X, 720),
             MapY(game, body.Points[0].Y, 540));
  });
  screen.FrontColor(0, 255, 0);
  // A 3 x 3 square centred on the ship's map position.
  screen.Box(MapX(game, game.ShipX, 719), MapY(game, game.ShipY, 539), 3, 3);
}

void DrawHudText(Game& game) {
  Canvas& screen = game.media.Screen;
  screen.FrontColor(255, 255, 255);
  screen.BackColor(0, 0, 0);
  screen.Locate(0, 0);
  screen.DrawText("Weapon : " + IntToText(game.SelectedWeapon));
  screen.Locate(10, 565);
  screen.DrawText("Money : " + IntToText(game.Money));
}

}  // namespace starvane
