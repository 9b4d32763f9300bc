#include "combat/enemy_behaviour.hpp"

#include <algorithm>
#include <optional>

#include "base/bit_cast.hpp"
#include "base/random.hpp"
#include "base/rounding.hpp"
#include "world/adders.hpp"
#include "world/contact_geometry.hpp"
#include "world/kinds.hpp"
#include "world/list_walk.hpp"
#include "world/steering.hpp"

// As everywhere in the game, the random values of one call are drawn into locals from its last
// argument to its first.

namespace starvane {
namespace {

// How each kind of enemy craft flies: which points are its nose and tails, how fast it turns
// (degrees a frame) and how hard it thrusts (the nose offset divided by the divisor).
struct EnemyFlight {
  std::int32_t nose;
  std::int32_t steering_tail;  // for SteerTo and FireAt
  std::int32_t thrust_tail;    // where the exhaust leaves
  std::int32_t rate;
  std::int32_t divisor;
};

std::optional<EnemyFlight> FlightOf(std::int16_t kind) {
  switch (kind) {
    case kKindEnemie:
      return EnemyFlight{1, 6, 6, 3, 500};
    case kKindEnemie2:
      return EnemyFlight{1, 6, 6, 4, 200};
    case kKindEnemie3:
      return EnemyFlight{1, 7, 7, 5, 100};
    case kKindEnemie4:
      return EnemyFlight{1, 8, 7, 5, 50};
    default:
      return std::nullopt;
  }
}

bool IsEnemy(std::int16_t kind) {
  return FlightOf(kind).has_value();
}

// FrameTick counts the frames round 0..10 and FrameTock its rounds, also 0..10 (the ship upkeep
// advances both), so the first kind fires 3 times in 121 frames, the second 3 times in 11 and
// the third once in 11, each time only if lined up. The fourth kind never fires.
bool FiresThisFrame(const Game& game, std::int16_t kind) {
  const std::int16_t tick = game.FrameTick;
  const std::int16_t tock = game.FrameTock;
  switch (kind) {
    case kKindEnemie:
      return tick == 0 && (tock == 1 || tock == 5 || tock == 10);
    case kKindEnemie2:
      return tick == 0 || tick == 4 || tick == 7;
    case kKindEnemie3:
      return tick == 0;
    default:
      return false;
  }
}

// The drain of the fourth kind, in float32 constants: 0.01 is the nearest float, 0.025 and 0.05
// are one unit in the last place below theirs.
const float kDrainLife = 0.01f;
const float kDrainEnergy = BitCast<float>(0x3CCCCCCCu);          // 0.025
const float kDrainShieldedEnergy = BitCast<float>(0x3D4CCCCCu);  // 0.05

// The fourth kind, on the screen, drains the player every frame: life and energy without the
// shield, twice the energy and no life with it.
void Drain(Game& game, const Body& enemy) {
  game.Sounds.Add(SoundCueKind::Drain, enemy.Points[0].X, enemy.Points[0].Y);
  if (game.ShieldKind == kKindNone) {
    game.Life.Value -= game.Difficulty * kDrainLife;
    game.Energie.Value -= game.Difficulty * kDrainEnergy;
  } else {
    game.Energie.Value -= game.Difficulty * kDrainShieldedEnergy;
  }
}

void SteerEnemy(Game& game, std::int64_t index, const EnemyFlight& flight) {
  const Body& enemy = game.Bodies.At(index);
  const std::int16_t kind = enemy.Kind;
  const float speed_x = enemy.SpeedX;
  const float speed_y = enemy.SpeedY;
  const bool matched = speed_x - 1 < game.ShipSpeedX && game.ShipSpeedX < speed_x + 1 &&
                       speed_y - 1 < game.ShipSpeedY && game.ShipSpeedY < speed_y + 1;
  const std::int32_t ship_x = RoundToInt(game.ShipX);
  const std::int32_t ship_y = RoundToInt(game.ShipY);
  if (matched) {
    SteerTo(game, index, flight.nose, flight.steering_tail, ship_x, ship_y, flight.rate);
  } else {
    // Aim off the ship against the enemy's own drift relative to it, so that the thrust
    // cancels the drift.
    Thrust(game, index, flight.nose, flight.thrust_tail, flight.divisor);
    const Body& thrusted = game.Bodies.At(index);
    SteerTo(game, index, flight.nose, flight.steering_tail,
            RoundToInt(game.ShipX - (thrusted.SpeedX - game.ShipSpeedX) * 100),
            RoundToInt(game.ShipY - (thrusted.SpeedY - game.ShipSpeedY) * 100), flight.rate);
  }
  if (FiresThisFrame(game, kind)) {
    FireAt(game, index, flight.nose, flight.steering_tail, ship_x, ship_y);
  }
  if (kind == kKindEnemie4 && game.Bodies.At(index).OnScreen == 1) {
    Drain(game, game.Bodies.At(index));
  }
}

}  // namespace

void SteerEnemies(Game& game) {
  CursorList<Body>& bodies = game.Bodies;
  // Steering adds sparks and shots but never bodies, so a walk by index sees every body once.
  for (std::int64_t i = kHomePlanetIndex; i < bodies.CountList(); ++i) {
    Body& body = bodies.At(i);
    if (body.NearScreen != 1) {
      // Far from the screen an enemy coasts to a stop, a tenth slower every frame.
      if (IsEnemy(body.Kind) && (body.SpeedX != 0 || body.SpeedY != 0)) {
        body.SpeedX = body.SpeedX / 10 * 9;
        body.SpeedY = body.SpeedY / 10 * 9;
      }
      continue;
    }
    if (const auto flight = FlightOf(body.Kind)) SteerEnemy(game, i, *flight);
  }
  EndWalk(bodies);
}

void Thrust(Game& game, std::int64_t index, std::int32_t nose, std::int32_t tail,
            std::int32_t divisor) {
  Body& body = game.Bodies.At(index);
  const Point& centre = body.Points[0];
  const float nose_x = PointAt(body, nose).X - centre.X;
  const float nose_y = PointAt(body, nose).Y - centre.Y;
  const auto d = static_cast<float>(divisor);
  body.SpeedX += nose_x / d;
  body.SpeedY += nose_y / d;
  const int jitter_y = Random(game.Rng, 2);
  const int jitter_x = Random(game.Rng, 2);
  const float sy = -nose_y / 3 + static_cast<float>(jitter_y) + body.SpeedY - 1;
  const float sx = -nose_x / 3 + static_cast<float>(jitter_x) + body.SpeedX - 1;
  const Point& exhaust = PointAt(body, tail);
  const int size = body.Kind == kKindEnemie4 ? 2 : 5;
  AddSpark(game, RoundToInt(exhaust.X), RoundToInt(exhaust.Y), sx, sy, size, 0, 255, 100, 0);
}

void FireAt(Game& game, std::int64_t index, std::int32_t nose, std::int32_t tail, std::int32_t tx,
            std::int32_t ty) {
  const Body& body = game.Bodies.At(index);
  const Point& from = PointAt(body, tail);
  const Point& tip = PointAt(body, nose);
  const Point& centre = body.Points[0];
  LineThrough(game, RoundToInt(from.X), RoundToInt(from.Y), tx, ty);
  // Lined up: the nose lies less than 7 units above or below the line, measured along y; the
  // upper bound uses the rounded product, the lower the exact one.
  const float rounded_line =
      static_cast<float>(RoundToInt(game.LineSlope * tip.X)) + game.LineIntercept;
  const float exact_line = game.LineSlope * tip.X + game.LineIntercept;
  if (!(tip.Y < rounded_line + 7 && tip.Y > exact_line - 7)) return;

  // The shot leaves the nose at the nose's offset from the centre plus the body's speed.
  const int x = RoundToInt(tip.X);
  const int y = RoundToInt(tip.Y);
  const auto barrel_x = static_cast<float>(RoundToInt(tip.X - centre.X));
  const auto barrel_y = static_cast<float>(RoundToInt(tip.Y - centre.Y));
  switch (body.Kind) {
    case kKindEnemie:
      AddShot(game, x, y, RoundToInt(barrel_x + body.SpeedX), RoundToInt(barrel_y + body.SpeedY),
              RoundToInt(game.Difficulty * 5), ShotStyle::Streak, 255, 0, 0);
      break;
    case kKindEnemie2:
    case kKindEnemie3: {
      const int jitter_y = Random(game.Rng, 2);
      const int jitter_x = Random(game.Rng, 2);
      const bool dots = body.Kind == kKindEnemie2;
      AddShot(game, x, y, RoundToInt(barrel_x + body.SpeedX + static_cast<float>(jitter_x) - 1),
              RoundToInt(barrel_y + body.SpeedY + static_cast<float>(jitter_y) - 1),
              RoundToInt(game.Difficulty * 2), dots ? ShotStyle::Dot : ShotStyle::Streak, 255,
              dots ? 50 : 0, dots ? 50 : 0);
      break;
    }
    default:
      return;
  }
  game.Sounds.Add(SoundCueKind::EnemyShot, tip.X, tip.Y, body.Kind);
}

}  // namespace starvane
