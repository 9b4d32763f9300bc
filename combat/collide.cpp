#include "combat/collide.hpp"

#include "base/rounding.hpp"
#include "combat/planet_contact.hpp"
#include "combat/ship_damage.hpp"
#include "combat/shot_pass.hpp"
#include "combat/spark_burst.hpp"
#include "world/contact_geometry.hpp"
#include "world/kinds.hpp"
#include "world/list_walk.hpp"

namespace starvane {
namespace {

// A body touching the ship: both are put back by one frame of motion (the ship at the next
// upkeep) and they swap speeds. The queued speed gets 0.01 more, as a queued 0.0 would mean no
// change. Without the shield the ship loses life by its own speed.
void BumpShip(Game& game, std::int64_t index) {
  const std::int16_t kind = game.Bodies.At(index).Kind;
  if (game.ShipKind < 1 || kind == kKindFragment || kind == kKindWeapon) return;
  if (BodiesTouch(game, index, kShipIndex) != 1) return;
  Body& body = game.Bodies.At(index);
  Body& queued = game.ShipOverride;
  for (std::size_t k = 0; k < queued.Points.size(); ++k) {
    queued.Points[k].X = game.ShipCopy.Points[k].X - game.ShipSpeedX;
    queued.Points[k].Y = game.ShipCopy.Points[k].Y - game.ShipSpeedY;
  }
  for (Point& point : body.Points) {
    point.X -= body.SpeedX;
    point.Y -= body.SpeedY;
  }
  queued.SpeedX = body.SpeedX + 0.01f;
  body.SpeedX = game.ShipSpeedX;
  queued.SpeedY = body.SpeedY + 0.01f;
  body.SpeedY = game.ShipSpeedY;

  const std::int32_t x = RoundToInt(game.ShipX);
  const std::int32_t y = RoundToInt(game.ShipY);
  const std::int32_t sparks = RoundToInt(game.ShipSpeed);
  if (game.ShieldKind == kKindNone) {
    QueueShipLife(game, game.Life.Value - game.ShipSpeed);
    SparkBurst(game, x, y, sparks, 255, 100, 0);
    game.Sounds.Add(SoundCueKind::Bump, game.ShipX, game.ShipY, game.ShipSpeed);
  } else {
    SparkBurst(game, x, y, sparks, 100, 100, 255);
    game.Sounds.Add(SoundCueKind::ShieldBump, game.ShipX, game.ShipY, game.ShipSpeed);
  }
}

// A body touching the planet steps back by one frame, reverses, and is moved a hundredth of its
// distance from the planet's centre outwards. The planet touches itself, and having no speed
// is not changed by it.
void BounceOffPlanet(Game& game, std::int64_t index) {
  if (BodiesTouch(game, index, kHomePlanetIndex) != 1) return;
  Body& body = game.Bodies.At(index);
  for (Point& point : body.Points) {
    point.X -= body.SpeedX;
    point.Y -= body.SpeedY;
  }
  body.SpeedX *= -1;
  body.SpeedY *= -1;
  const Point planet = game.Bodies.At(kHomePlanetIndex).Points[0];
  const float step_x = (body.Points[0].X - planet.X) / 100;
  const float step_y = (body.Points[0].Y - planet.Y) / 100;
  for (Point& point : body.Points) {
    point.X += step_x;
    point.Y += step_y;
  }
}

}  // namespace

void Collide(Game& game) {
  CursorList<Body>& bodies = game.Bodies;
  // Collisions add sparks and remove shots but never add or remove bodies, so a walk by index
  // sees every body once.
  for (std::int64_t i = kHomePlanetIndex; i < bodies.CountList(); ++i) {
    if (bodies.At(i).NearScreen != 1) continue;
    if (bodies.At(i).Kind == kKindPlanet) {
      PullShip(game, bodies.At(i));
      PushShipOutOfHull(game, bodies.At(i));
    } else {
      BumpShip(game, i);
    }
    BounceOffPlanet(game, i);
    ShotPass(game, bodies.At(i));
  }
  EndWalk(bodies);
}

}  // namespace starvane
