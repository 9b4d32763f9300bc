#include "combat/shock_and_destroy.hpp"

#include <algorithm>
#include <string_view>

#include "base/random.hpp"
#include "base/rounding.hpp"
#include "base/text_numbers.hpp"
#include "combat/spark_burst.hpp"
#include "render/effects.hpp"
#include "world/contact_geometry.hpp"
#include "world/create_body.hpp"
#include "world/kinds.hpp"
#include "world/list_walk.hpp"
#include "world/money.hpp"

// As everywhere in the game, the random values of one call are drawn into locals from its last
// argument to its first.

namespace starvane {
namespace {

// What a destroyed body was, taken before anything is added behind it.
struct Wreck {
  std::int64_t index;
  std::int16_t kind;
  std::int32_t x;  // its centre, rounded
  std::int32_t y;
  std::int16_t red;
  std::int16_t green;
  std::int16_t blue;
};

// The reward for destroying a body of the kind: rocks pay a fixed sum, enemy craft and the
// glimmerhex pay by the difficulty, fragments and everything else nothing.
std::int64_t Reward(const Game& game, std::int16_t kind) {
  switch (kind) {
    case kKindRandomBig:
      return 3;
    case kKindRandom:
      return 2;
    case kKindRandomLittle:
      return 1;
    case kKindEnemie:
      return RoundToInt(game.Difficulty * 100);
    case kKindEnemie2:
      return RoundToInt(game.Difficulty * 500);
    case kKindGlimmerhex:
      return RoundToInt(game.Difficulty * 10000);
    case kKindEnemie3:
      return RoundToInt(game.Difficulty * 400);
    case kKindEnemie4:
      return RoundToInt(game.Difficulty * 200);
    default:
      return 0;
  }
}

// The shock: a blue bolt from the ship to every body within range (at most 50 points long) and
// its damage off the body's life. The turret is never struck.
void Shock(Game& game, Body& body) {
  if (game.Shock.Active != 1 || body.Kind == kKindWeapon) return;
  const Point& centre = body.Points[0];
  const float d = Distance(game.ShipX, game.ShipY, centre.X, centre.Y);
  if (!(d <= static_cast<float>(game.Shock.Range))) return;
  const std::int32_t points = d / 10 < 50 ? RoundToInt(d / 10) : 50;
  DrawLightning(game, RoundToInt(game.ShipX), RoundToInt(game.ShipY), RoundToInt(centre.X),
                RoundToInt(centre.Y), points, 0, 0, 100);
  body.Life -= game.Shock.Damage;
  game.Sounds.Add(SoundCueKind::ShockStrike, centre.X, centre.Y);
}

// The fourth enemy kind on the screen is shown striking the ship (its drain is dealt when it
// steers).
void StrikeDisplay(Game& game, const Body& body) {
  if (body.Kind != kKindEnemie4 || body.OnScreen != 1) return;
  DrawLightning(game, RoundToInt(body.Points[0].X), RoundToInt(body.Points[0].Y),
                RoundToInt(game.ShipX), RoundToInt(game.ShipY), 20, 100, 0, 0);
}

// A rock breaks into two of the next smaller kind, in its colour, drifting at -1..1 units a
// frame on each axis.
void BreakRock(Game& game, const Wreck& rock, std::string_view smaller, std::int32_t sparks) {
  for (int i = 0; i < 2; ++i) {
    const std::int32_t spin = Random(game.Rng, 4) - 2;
    const std::int32_t speed_y = Random(game.Rng, 2) - 1;
    const std::int32_t speed_x = Random(game.Rng, 2) - 1;
    CreateBody(game, rock.x, rock.y, speed_x, speed_y, spin, smaller, rock.red, rock.green,
               rock.blue);
  }
  game.Bodies.SelectElement(rock.index);
  SparkBurst(game, rock.x, rock.y, sparks, 255, 100, 0);
}

// The third enemy kind releases three of the fourth as it dies.
void ReleaseSmallEnemies(Game& game, const Wreck& enemy) {
  for (int i = 0; i < 3; ++i) {
    const std::int32_t spin = Random(game.Rng, 4) - 2;
    const std::int32_t speed_y = Random(game.Rng, 8) - 4;
    const std::int32_t speed_x = Random(game.Rng, 8) - 4;
    CreateBody(game, enemy.x, enemy.y, speed_x, speed_y, spin, "enemie4", 100, 100, 155);
  }
  game.Bodies.SelectElement(enemy.index);
}

// The blast of a destroyed body, by what it was, and the chime of its reward.
void CueBlast(Game& game, const Wreck& wreck, std::int64_t reward) {
  SoundCueKind blast = SoundCueKind::CraftBlast;
  switch (wreck.kind) {
    case kKindRandomBig:
      blast = SoundCueKind::BigRockBlast;
      break;
    case kKindRandom:
      blast = SoundCueKind::RockBlast;
      break;
    case kKindRandomLittle:
      blast = SoundCueKind::LittleRockBlast;
      break;
    case kKindFragment:
      blast = SoundCueKind::FragmentBlast;
      break;
    case kKindGlimmerhex:
      blast = SoundCueKind::GlimmerhexBlast;
      break;
    default:
      break;
  }
  game.Sounds.Add(blast, static_cast<float>(wreck.x), static_cast<float>(wreck.y));
  if (reward > 0) game.Sounds.AddUnplaced(SoundCueKind::Reward, static_cast<float>(reward));
}

// Pays for the body at the index and leaves behind what its kind leaves; then removes it. What
// is left is inserted right after it.
void Destroy(Game& game, std::int64_t index) {
  game.Bodies.SelectElement(index);  // what it leaves is inserted after it
  const Body& body = game.Bodies.Current();
  const Wreck wreck{
      index,      body.Kind, RoundToInt(body.Points[0].X), RoundToInt(body.Points[0].Y), body.Red,
      body.Green, body.Blue};
  switch (wreck.kind) {
    case kKindRandomBig:
      BreakRock(game, wreck, "random", 15);
      break;
    case kKindRandom:
      BreakRock(game, wreck, "randomlittle", 10);
      break;
    default:
      if (wreck.kind == kKindEnemie3) ReleaseSmallEnemies(game, wreck);
      if (wreck.kind != kKindFragment) SplitBody(game, index);
      SparkBurst(game, wreck.x, wreck.y, 10, wreck.red, wreck.green, wreck.blue);
      break;
  }
  const std::int64_t reward = Reward(game, wreck.kind);
  game.Money = AddMoney(game.Money, reward);
  CueBlast(game, wreck, reward);
  game.Bodies.SelectElement(index);
  game.Bodies.DeleteElement();
}

// A fresh body of the given kind at the centre, drifting like the split body give or take one
// unit a frame, turning -1..1 degrees a frame; it becomes a fragment with half the life.
Body& AddFragment(Game& game, const Wreck& source, float speed_x, float speed_y) {
  const std::int32_t spin = Random(game.Rng, 2) - 1;
  const std::int32_t jitter_y = Random(game.Rng, 2);
  const std::int32_t jitter_x = Random(game.Rng, 2);
  CreateBody(game, source.x, source.y, RoundToInt(speed_x + static_cast<float>(jitter_x) - 1),
             RoundToInt(speed_y + static_cast<float>(jitter_y) - 1), spin, IntToText(source.kind),
             source.red, source.green, source.blue);
  Body& fragment = game.Bodies.Current();
  fragment.Kind = kKindFragment;
  fragment.Life /= 2;
  return fragment;
}

}  // namespace

void ShockAndDestroy(Game& game) {
  CursorList<Body>& bodies = game.Bodies;
  // By index: a destroyed body is removed and the walk goes on with what followed it, which
  // starts with what its destruction left behind.
  std::int64_t i = kTurretIndex;
  while (i < bodies.CountList()) {
    Body& body = bodies.At(i);
    Shock(game, body);
    StrikeDisplay(game, body);
    if (body.Life <= 0) {
      Destroy(game, i);
    } else {
      ++i;
    }
  }
  EndWalk(bodies);
}

void SplitBody(Game& game, std::int64_t k) {
  const Body& body = game.Bodies.At(k);
  const Wreck source{
      k,          body.Kind, RoundToInt(body.Points[0].X), RoundToInt(body.Points[0].Y), body.Red,
      body.Green, body.Blue};
  const float speed_x = body.SpeedX;
  const float speed_y = body.SpeedY;
  const std::int32_t n = OutlineLength(game, k);
  const std::int32_t half = n / 2;

  // The first fragment keeps points 1 to half of the fresh shape.
  game.Bodies.SelectElement(k);
  Body& first = AddFragment(game, source, speed_x, speed_y);
  for (std::int32_t j = half + 1; j < kBodyPoints; ++j) {
    first.Points[static_cast<std::size_t>(j)] = first.Points[0];
  }

  // The second, inserted in front of the first, starts at point half of the fresh shape: its
  // outline shifted down by half - 1 places, point 100 repeated into the places freed at the end.
  game.Bodies.SelectElement(k);
  Body& second = AddFragment(game, source, speed_x, speed_y);
  const std::int32_t shifts = half - 1;
  if (shifts > 0) {
    for (std::int32_t j = 1; j < kBodyPoints - 1; ++j) {
      const std::int32_t from = std::min(j + shifts, kBodyPoints - 1);
      second.Points[static_cast<std::size_t>(j)] = second.Points[static_cast<std::size_t>(from)];
    }
  }
  game.Bodies.SelectElement(k);
}

}  // namespace starvane
