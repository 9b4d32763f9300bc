#include "life/ship_rebuild.hpp"

#include "base/rounding.hpp"
#include "base/text_numbers.hpp"
#include "world/body_geometry.hpp"
#include "world/create_body.hpp"
#include "world/kinds.hpp"

namespace starvane {
namespace {

// Runs the body's recipe around its own point 0. A name without a recipe leaves the outline and
// the fields as they were; the body is only moved so that point 0 lands on `centre`, which keeps
// the copies of point 0 behind its outline copies.
void Rebuild(Game& game, Body& body, Point centre, std::string_view kind_name) {
  if (IsKindName(kind_name)) {
    body.Points[0] = centre;
    ApplyBodyRecipe(game, body, kind_name);
  } else {
    MoveBodyTo(game, centre.X, centre.Y);
  }
}

}  // namespace

void SetBackground(Game& game, std::int32_t red, std::int32_t green, std::int32_t blue) {
  game.BackRed = Low16(red);
  game.BackGreen = Low16(green);
  game.BackBlue = Low16(blue);
}

void RebuildShip(Game& game, std::int32_t x, std::int32_t y) {
  game.Bodies.SelectElement(kShipIndex);
  Body& ship = game.Bodies.Current();
  SetBackground(game, 100, 100, 100);  // the grey flash
  Rebuild(game, ship, Point{static_cast<float>(x), static_cast<float>(y)}, game.PlayerKindName);
  ship.SpeedX = 0;
  ship.SpeedY = 0;

  // Whatever was queued for the ship's place and speed this frame belongs to where it was: a
  // bump or a dash queued before a teleport would otherwise put it back. Its life stays queued.
  for (Point& point : game.ShipOverride.Points) point = Point{};
  game.ShipOverride.SpeedX = 0;
  game.ShipOverride.SpeedY = 0;

  // The turret keeps its place; the upkeep carries it onto the ship.
  game.Bodies.SelectElement(kTurretIndex);
  Body& turret = game.Bodies.Current();
  Rebuild(game, turret, turret.Points[0], IntToText(turret.Kind));
}

}  // namespace starvane
