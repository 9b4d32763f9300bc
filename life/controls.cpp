#include "life/controls.hpp"

#include <algorithm>
#include <cmath>

#include "base/random.hpp"
#include "base/rounding.hpp"
#include "life/ship_rebuild.hpp"
#include "media/keys.hpp"
#include "world/adders.hpp"
#include "world/kinds.hpp"
#include "world/weapons.hpp"

// As everywhere in the game, the random values of one call are drawn into locals from its last
// argument to its first: that order, with the seed, is what replays a game.

namespace starvane {
namespace {

// A point of a body by an index kept in a 16-bit global: never outside the outline array.
const Point& PointAt(const Body& body, std::int16_t index) {
  return body.Points[static_cast<std::size_t>(std::clamp<int>(index, 0, kBodyPoints - 1))];
}

// One component of the dash: ten times the speed, never beyond twice the world's half-extent
// (one frame of it would cross the whole world) and never a value that is no number.
float DashSpeed(float speed, std::int32_t half_extent) {
  const float limit = 2.0f * static_cast<float>(half_extent);
  const float dashed = speed * 10;
  if (std::isnan(dashed)) return 0;  // 0.0 queues nothing
  return std::clamp(dashed, -limit, limit);
}

// One component of the thrust: the nose's share added to the speed, kept within twice the
// world's half-extent like the dash. A boost edited to an absurd multiplier would otherwise fling
// the ship beyond every float, and the view and the outline with it. A sum that is no number
// leaves the speed as it was.
float ThrustSpeed(float speed, float added, std::int32_t half_extent) {
  const float limit = 2.0f * static_cast<float>(half_extent);
  const float thrust = speed + added;
  if (std::isnan(thrust)) return speed;
  return std::clamp(thrust, -limit, limit);
}

void Turn(Game& game, Body& ship) {
  Media& media = game.media;
  if (media.KeyboardPushed(kKeyLeft)) {
    ship.Spin = -3.0f;  // left wins when both are down
  } else if (media.KeyboardPushed(kKeyRight)) {
    ship.Spin = 3.0f;
  } else {
    ship.Spin = 0;
  }
}

// Thrust along the nose, stronger with the boost, with an exhaust spark at the tail.
void Thrust(Game& game, Body& ship) {
  const Point& centre = ship.Points[0];
  const float nose_x = PointAt(ship, game.NosePoint).X - centre.X;
  const float nose_y = PointAt(ship, game.NosePoint).Y - centre.Y;
  const bool boosted = game.Boost.Active == 1;
  const float push = boosted ? game.Boost.Max : 1;
  ship.SpeedX = ThrustSpeed(ship.SpeedX, nose_x / 200 * push, game.WorldWidth);
  ship.SpeedY = ThrustSpeed(ship.SpeedY, nose_y / 200 * push, game.WorldHeight);
  const int blue = 0;
  const int green = boosted ? Random(game.Rng, 205) : 100;
  const int red = boosted ? 200 + Random(game.Rng, 55) : 255;
  const int jitter_y = Random(game.Rng, 2);
  const int jitter_x = Random(game.Rng, 2);
  const Point& tail = PointAt(ship, game.TailPoint);
  AddSpark(game, RoundToInt(tail.X), RoundToInt(tail.Y),
           -nose_x / 3 + static_cast<float>(jitter_x) + ship.SpeedX - 1,
           -nose_y / 3 + static_cast<float>(jitter_y) + ship.SpeedY - 1, 5, 0, red, green, blue);
}

// 3 % of the speed a frame, with a spark near the ship that flies at the speed it had.
void Brake(Game& game, Body& ship) {
  ship.SpeedX = ship.SpeedX / 100 * 97;
  ship.SpeedY = ship.SpeedY / 100 * 97;
  const int blue = Random(game.Rng, 255);
  const int offset_y = Random(game.Rng, 100);
  const int offset_x = Random(game.Rng, 100);
  AddSpark(game, RoundToInt(ship.Points[0].X + static_cast<float>(offset_x) - 50),
           RoundToInt(ship.Points[0].Y + static_cast<float>(offset_y) - 50),
           game.ShipSpeedX / 2 * 3, game.ShipSpeedY / 2 * 3, 3, 0, 100, 0, blue);
}

// The key turns a running shield off, and turns it on only with more than 5 energy.
void SwitchShield(Game& game) {
  game.Bodies.SelectElement(kShieldIndex);
  Body& shield = game.Bodies.Current();
  shield.Kind = game.Energie.Value > 5.0f && shield.Kind == kKindNone ? kKindShield : kKindNone;
}

// A shot from the turret's muzzle along its barrel, with the ship's speed added, in the look,
// colour and sound of the selected weapon.
void Fire(Game& game) {
  game.ActiveWeapon.Value = 0;
  game.Bodies.SelectElement(kTurretIndex);
  const Body& turret = game.Bodies.Current();
  const Point& tip = turret.Points[kMuzzlePoint];
  const Point& centre = turret.Points[0];
  const auto barrel_x = static_cast<float>(RoundToInt(tip.X - centre.X));
  const auto barrel_y = static_cast<float>(RoundToInt(tip.Y - centre.Y));
  const int x = RoundToInt(tip.X);
  const int y = RoundToInt(tip.Y);
  // A shot keeps its damage in 16 bits: a damage bought or loaded beyond that range hits as
  // hard as a shot can, rather than wrapping round to a weak or a healing one.
  const int damage = std::clamp(RoundToInt(game.ActiveWeapon.Damage), -32768, 32767);
  const float speed_x = barrel_x + game.ShipSpeedX;
  const float speed_y = barrel_y + game.ShipSpeedY;
  const auto fx = static_cast<float>(x);
  const auto fy = static_cast<float>(y);
  const Weapon* weapon = WeaponNumbered(game.SelectedWeapon);
  if (weapon == nullptr) return;
  std::int32_t shot_speed_x = RoundToInt(speed_x);
  std::int32_t shot_speed_y = RoundToInt(speed_y);
  if (weapon->scatters) {
    const int scatter_y = Random(game.Rng, 2);
    const int scatter_x = Random(game.Rng, 2);
    shot_speed_x = RoundToInt(speed_x + static_cast<float>(scatter_x) - 1);
    shot_speed_y = RoundToInt(speed_y + static_cast<float>(scatter_y) - 1);
  }
  const Colour& colour = weapon->shot_colour;
  AddShot(game, x, y, shot_speed_x, shot_speed_y, damage, weapon->style, colour.red, colour.green,
          colour.blue);
  game.Sounds.Add(weapon->cue, fx, fy);
}

// The reload counter is kept: a shorter period is reached at once, a longer one waited for.
void SelectWeapon(Game& game, std::size_t index) {
  const Equipment& weapon = game.*kWeapons[index].record;
  game.SelectedWeapon = static_cast<std::int16_t>(index + 1);
  game.ActiveWeapon.Max = weapon.Max;
  game.ActiveWeapon.Damage = weapon.Damage;
}

std::int16_t Toggled(std::int16_t on) {
  return on == 0 ? 1 : 0;
}

}  // namespace

void HandleControls(Game& game) {
  Media& media = game.media;
  // Every released-key query is made every frame, whatever else holds, so that each key's
  // release is taken in the frame it happens.
  game.Bodies.SelectElement(kShipIndex);
  Body& ship = game.Bodies.Current();
  const bool alive = game.Life.Value > 0;

  Turn(game, ship);
  if (media.KeyboardPushed(kKeyUp) && alive) {
    Thrust(game, ship);
    game.Sounds.AddUnplaced(SoundCueKind::ThrustHeld);
  }
  if (media.KeyboardPushed(kKeyDown)) Brake(game, ship);
  if (media.KeyboardReleased(kKeyLeftControl) && alive) SwitchShield(game);
  if (media.KeyboardPushed(kKeySpace) && alive &&
      game.ActiveWeapon.Value == game.ActiveWeapon.Max) {
    Fire(game);
  }

  // Weapon keys let go together select in the weapons' order: the last one stays.
  for (std::size_t i = 0; i < kWeapons.size(); ++i) {
    if (media.KeyboardReleased(kWeapons[i].key)) SelectWeapon(game, i);
  }

  // Holding T charges the teleport with energy; a full charge jumps home.
  bool teleported = false;
  if (media.KeyboardPushed(kKeyT)) {
    const bool charged = game.Energie.Value > 0;
    if (charged) {
      game.TeleportCharge = Low16(game.TeleportCharge + 2);
      game.Energie.Value -= 2.0f;
    }
    if (game.TeleportCharge >= 100) {
      RebuildShip(game, kRespawnX, kRespawnY);
      game.TeleportCharge = 0;
      teleported = true;
      game.Sounds.AddUnplaced(SoundCueKind::Jump);
    } else if (charged) {
      game.Sounds.AddUnplaced(SoundCueKind::TeleportCharge, game.TeleportCharge);
    }
  }

  if (media.KeyboardReleased(kKeyS)) {
    game.Shock.Active = Toggled(game.Shock.Active);
    if (game.Shock.Active == 1) game.Sounds.AddUnplaced(SoundCueKind::ShockOn);
  }
  if (media.KeyboardPushed(kKeyA)) {
    game.TurretTurn = -2;
  } else if (media.KeyboardPushed(kKeyD)) {
    game.TurretTurn = 2;
  } else {
    game.TurretTurn = 0;
  }
  if (media.KeyboardReleased(kKeyC)) game.StatsOpen = Toggled(game.StatsOpen);
  if (media.KeyboardReleased(kKeyB)) {
    game.Boost.Active = Toggled(game.Boost.Active);
    if (game.Boost.Active == 1) game.Sounds.AddUnplaced(SoundCueKind::BoostOn);
  }

  // The dash: ten times the speed from the next upkeep on. Not in a frame that teleported, or
  // it would throw the ship away from where it just arrived.
  if (media.KeyboardReleased(kKeyReturn) && !teleported) {
    game.ShipOverride.SpeedX = DashSpeed(game.ShipSpeedX, game.WorldWidth);
    game.ShipOverride.SpeedY = DashSpeed(game.ShipSpeedY, game.WorldHeight);
  }
}

}  // namespace starvane
