#include "combat/planet_contact.hpp"

#include <array>
#include <cmath>

#include "base/rounding.hpp"
#include "combat/hull_passes.hpp"
#include "combat/ship_damage.hpp"
#include "combat/spark_burst.hpp"
#include "world/contact_geometry.hpp"
#include "world/kinds.hpp"

namespace starvane {
namespace {

bool SamePoint(const Point& a, const Point& b) {
  return a.X == b.X && a.Y == b.Y;
}

bool SamePoints(const std::array<Point, kBodyPoints>& a, const std::array<Point, kBodyPoints>& b) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!SamePoint(a[i], b[i])) return false;
  }
  return true;
}

// Whether the point s lies on the planet's centre's side of every edge of its outline. The
// edges run from point i to point i + 1 while point i is not a copy of the centre; an edge whose
// next point shares the centre's x or y closes the outline back to point 1. An edge whose ends
// have the same whole x has no slope and keeps the line of the edge before it. On an edge
// itself the point is outside. A body without a single edge has no inside.
bool InsideOutline(Game& game, const Body& planet, Point s) {
  const Point& centre = planet.Points[0];
  bool inside = true;
  bool any_edge = false;
  // Every edge is worked out, also after one has shown the point outside: the line of the last
  // edge stays behind for the next test, as an edge without a slope relies on it.
  for (std::size_t i = 1; i < kBodyPoints - 1 && !SamePoint(planet.Points[i], centre); ++i) {
    const Point& from = planet.Points[i];
    const Point& next = planet.Points[i + 1];
    const Point& to = next.X == centre.X || next.Y == centre.Y ? planet.Points[1] : next;
    const std::int32_t from_x = RoundToInt(from.X);
    const std::int32_t to_x = RoundToInt(to.X);
    if (from_x != to_x) LineThrough(game, from_x, RoundToInt(from.Y), to_x, RoundToInt(to.Y));
    any_edge = true;
    // For the ship's point the product is rounded before the intercept is added.
    const float point_line =
        static_cast<float>(RoundToInt(game.LineSlope * s.X)) + game.LineIntercept;
    const float centre_line = game.LineSlope * centre.X + game.LineIntercept;
    const bool centre_side = (s.Y < point_line && centre.Y < centre_line) ||
                             (s.Y > point_line && centre.Y > centre_line);
    if (!centre_side) inside = false;
  }
  return any_edge && inside;
}

// One point of the ship was found inside: the whole ship steps a ten-thousandth of its distance
// from the centre outwards (ShipX and ShipY stay as they were for this frame), a fifth of its
// speed is queued backwards, and above a speed of 1 the contact costs life.
void PushOut(Game& game, Body& ship, const Point& centre) {
  if (game.ShipSpeed > 1) QueueShipLife(game, game.Life.Value - game.ShipSpeed);
  const float step_x = (game.ShipX - centre.X) / 10000;
  const float step_y = (game.ShipY - centre.Y) / 10000;
  for (Point& point : ship.Points) {
    point.X += step_x;
    point.Y += step_y;
  }
  game.ShipCopy.Points = ship.Points;
  game.ShipOverride.SpeedX = game.ShipSpeedX / -5;
  game.ShipOverride.SpeedY = game.ShipSpeedY / -5;
}

}  // namespace

void PullShip(Game& game, const Body& planet) {
  const Point& centre = planet.Points[0];
  const float d = Distance(centre.X, centre.Y, game.ShipX, game.ShipY);
  if (!(d > 0)) return;  // at the very centre the pull has no direction
  const float g = -static_cast<float>(game.Gravity) / (d * d);
  Body& ship = game.Bodies.At(kShipIndex);
  const float speed_x = ship.SpeedX + (game.ShipX - centre.X) / d * g;
  const float speed_y = ship.SpeedY + (game.ShipY - centre.Y) / d * g;
  if (!std::isfinite(speed_x) || !std::isfinite(speed_y)) return;
  ship.SpeedX = speed_x;
  ship.SpeedY = speed_y;
}

void PushShipOutOfHull(Game& game, const Body& planet) {
  const Point centre = planet.Points[0];
  Body& ship = game.Bodies.At(kShipIndex);
  const auto before = ship.Points;
  bool contact = false;
  // The first pass tests the ship's copy as the upkeep left it; its first push makes the copy
  // the ship's points again, which the later passes rely on.
  std::int32_t j = 1;
  // The outline is counted again before each point, as the ship moves under it.
  for (; j <= OutlineLength(game, kShipIndex); ++j) {
    if (!InsideOutline(game, planet, game.ShipCopy.Points[static_cast<std::size_t>(j)])) {
      continue;
    }
    PushOut(game, ship, centre);
    contact = true;
  }
  std::int32_t end_point = j;  // where the last pass stopped: a copy of the ship's centre
  if (contact && !SamePoints(ship.Points, before)) {
    end_point = RunLaterHullPasses(game, planet, (game.ShipX - centre.X) / 10000,
                                   (game.ShipY - centre.Y) / 10000);
  }
  if (!contact) return;
  const Point& sparks_at = game.ShipCopy.Points[static_cast<std::size_t>(end_point)];
  SparkBurst(game, RoundToInt(sparks_at.X), RoundToInt(sparks_at.Y), RoundToInt(game.ShipSpeed),
             255, 100, 0);
  game.Sounds.Add(SoundCueKind::Hull, sparks_at.X, sparks_at.Y, game.ShipSpeed);
}

}  // namespace starvane
