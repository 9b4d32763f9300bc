#include "life/ship_upkeep.hpp"

#include <cmath>

#include "base/rounding.hpp"
#include "life/ship_rebuild.hpp"
#include "world/body_geometry.hpp"
#include "world/kinds.hpp"
#include "world/money.hpp"

namespace starvane {
namespace {

// A queued value of exactly 0.0 (or -0.0) means no change. Anything else is given to the ship
// and the queue is emptied; a speed that is no number at all is dropped, never applied.
void ApplyQueued(float& queued, float& value) {
  if (queued != 0.0f) value = queued;
  queued = 0.0f;
}

void ApplyQueuedSpeed(float& queued, float& speed) {
  if (queued != 0.0f && std::isfinite(queued)) speed = queued;
  queued = 0.0f;
}

// Above the ceiling the value becomes the ceiling, otherwise below 0 it becomes 0.
void ClampToMax(float& value, float max) {
  if (value > max) {
    value = max;
  } else if (value < 0) {
    value = 0;
  }
}

}  // namespace

void ShipUpkeep(Game& game) {
  CursorList<Body>& bodies = game.Bodies;
  game.HomePlanetOnScreen = bodies.At(kHomePlanetIndex).OnScreen;

  bodies.SelectElement(kShipIndex);
  Body& ship = bodies.Current();
  Body& queued = game.ShipOverride;
  for (std::size_t i = 0; i < kBodyPoints; ++i) {
    ApplyQueued(queued.Points[i].X, ship.Points[i].X);
    ApplyQueued(queued.Points[i].Y, ship.Points[i].Y);
  }
  ApplyQueuedSpeed(queued.SpeedX, ship.SpeedX);
  ApplyQueuedSpeed(queued.SpeedY, ship.SpeedY);
  ApplyQueued(queued.Life, game.Life.Value);
  ship.Life = game.Life.Value;

  game.ShipCopy.Radius = ship.Radius;
  game.ShipX = ship.Points[0].X;  // taken before a respawn: shield and turret stay this frame
  game.ShipY = ship.Points[0].Y;
  game.ShipCopy.Spin = ship.Spin;

  if (game.Life.Value > 0) {
    game.ShipKind = ship.Kind;
  } else {
    // Death: the ship comes back at the home planet with half its life, for a price.
    game.Sounds.Add(SoundCueKind::Death, game.ShipX, game.ShipY);
    game.Sounds.AddUnplaced(SoundCueKind::Respawn);
    RebuildShip(game, kRespawnX, kRespawnY);
    game.Life.Value = game.Life.Max / 2;
    game.Money = AddMoney(game.Money, -std::int64_t{RoundToInt(game.Difficulty * 1000)});
  }
  if (game.Money < 0) game.Money = 0;

  game.ShipCopy.Points = ship.Points;
  if (game.Life.Value > 0) {
    // The view puts the ship's centre in the middle of the screen.
    game.ViewX = 400 - ship.Points[0].X;
    game.ViewY = 300 - ship.Points[0].Y;
  }
  game.ShipSpeedX = ship.SpeedX;
  game.ShipSpeedY = ship.SpeedY;
  game.ShipSpeed = std::sqrt(game.ShipSpeedX * game.ShipSpeedX + game.ShipSpeedY * game.ShipSpeedY);

  bodies.SelectElement(kShieldIndex);
  MoveBodyTo(game, game.ShipX, game.ShipY);
  game.ShieldKind = bodies.Current().Kind;

  // The beat: FrameTick counts the frames round 0..10 (a tick past 10 becomes 0), FrameTock
  // counts its rounds, also 0..10.
  if (++game.FrameTick > 10) {
    ++game.FrameTock;
    game.FrameTick = 0;
  }
  if (game.FrameTock > 10) game.FrameTock = 0;
  if (--game.TeleportCharge < 0) game.TeleportCharge = 0;

  // The turret turns with the ship, plus its own turn, and cannot be destroyed.
  bodies.SelectElement(kTurretIndex);
  MoveBodyTo(game, game.ShipX, game.ShipY);
  Body& turret = bodies.Current();
  turret.Spin = game.ShipCopy.Spin + static_cast<float>(game.TurretTurn);
  turret.Life = turret.LifeMax;
}

void UpdateEquipment(Game& game) {
  Equipment& energy = game.Energie;
  game.Bodies.SelectElement(kShieldIndex);
  Body& shield = game.Bodies.Current();
  if (shield.Kind != kKindNone) {
    energy.Value -= 1.0f;
    if (energy.Value < 0) {
      energy.Value = 0;
      shield.Kind = kKindNone;
    }
  }
  // The shock and the boost switch off when they overdraw; the energy is clamped only below.
  if (game.Shock.Active == 1) {
    energy.Value += game.Shock.Refreshrate;
    if (energy.Value < 0) game.Shock.Active = 0;
  }
  if (game.Boost.Active == 1) {
    energy.Value += game.Boost.Refreshrate;
    if (energy.Value < 0) game.Boost.Active = 0;
  }
  // The home planet in sight doubles the regeneration.
  energy.Value += energy.Refreshrate;
  if (game.HomePlanetOnScreen == 1) energy.Value += energy.Refreshrate;
  ClampToMax(energy.Value, energy.Max);
  game.Life.Value += game.Life.Refreshrate;
  if (game.HomePlanetOnScreen == 1) game.Life.Value += game.Life.Refreshrate;
  ClampToMax(game.Life.Value, game.Life.Max);

  // The weapon is ready to fire when its counter has reached the period exactly.
  Equipment& weapon = game.ActiveWeapon;
  weapon.Value += weapon.Refreshrate;
  if (weapon.Value > weapon.Max) weapon.Value = weapon.Max;
}

}  // namespace starvane
