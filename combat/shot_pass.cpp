#include "combat/shot_pass.hpp"

#include <cmath>

#include "base/rounding.hpp"
#include "combat/spark_burst.hpp"
#include "world/contact_geometry.hpp"
#include "world/kinds.hpp"
#include "world/list_walk.hpp"
#include "world/shot_style.hpp"

namespace starvane {
namespace {

constexpr float kShotReach = 1200;  // shots farther from the ship than this are dropped

void RemoveShot(Game& game, std::int64_t index) {
  game.Shots.SelectElement(index);
  game.Shots.DeleteElement();
}

bool OutsideWorld(const Game& game, const Shot& shot) {
  const auto width = static_cast<float>(game.WorldWidth);
  const auto height = static_cast<float>(game.WorldHeight);
  return shot.X > width || shot.X < -width || shot.Y > height || shot.Y < -height;
}

// The shot's sparks: one more than a tenth of its damage.
void HitSparks(Game& game, const Shot& shot, std::int32_t red, std::int32_t green,
               std::int32_t blue) {
  SparkBurst(game, RoundToInt(shot.X), RoundToInt(shot.Y), shot.Damage / 10 + 1, red, green, blue);
}

// Without the shield the hit is queued against the ship's life as it was at the start of the
// frame, so only the last such hit of a frame counts; with it, every hit costs a third of its
// damage in energy at once.
void HitShip(Game& game, const Shot& shot) {
  if (game.ShieldKind == kKindNone) {
    const float life = game.Life.Value - static_cast<float>(shot.Damage);
    game.ShipOverride.Life = life <= 0 ? -1.0f : life;
    HitSparks(game, shot, 255, 100, 0);
    game.Sounds.Add(SoundCueKind::ShipHit, shot.X, shot.Y, shot.Damage);
  } else {
    game.Energie.Value -= static_cast<float>(shot.Damage) / 3;
    HitSparks(game, shot, 100, 100, 255);
    game.Sounds.Add(SoundCueKind::ShieldHit, shot.X, shot.Y, shot.Damage);
  }
}

// The pass tests every shot against the ship and the body, as many times a frame as there are
// bodies near the screen, so most tests are settled by the offsets alone: a distance is never
// less than its larger offset, and at most its larger offset times the square root of 2. The
// exact distance, with its float roundings, is worked out only where the offsets cannot tell.
enum class ShipTest { kOutOfReach, kHit, kNeither };

ShipTest TestAgainstShip(const Game& game, const Shot& shot, float ship_radius) {
  const float dx = std::abs(shot.X - game.ShipX);
  const float dy = std::abs(shot.Y - game.ShipY);
  // An offset that is not a number settles nothing; the exact distance then decides as always.
  const bool offsets_tell = !std::isnan(dx) && !std::isnan(dy);
  if (offsets_tell && (dx > kShotReach || dy > kShotReach)) return ShipTest::kOutOfReach;
  if (offsets_tell && (dx > ship_radius || dy > ship_radius)) {
    // 848 * sqrt(2) is 1199.3: surely within reach.
    if (dx <= 848 && dy <= 848) return ShipTest::kNeither;
  }
  const float d = Distance(shot.X, shot.Y, game.ShipX, game.ShipY);
  if (d > kShotReach) return ShipTest::kOutOfReach;
  return d <= ship_radius ? ShipTest::kHit : ShipTest::kNeither;
}

// Whether the shot lies within the body's radius of its centre; a piercing shot reaches
// farther.
bool Reaches(const Shot& shot, const Point& centre, float radius) {
  const bool pierces = Pierces(shot.Style);
  const float extra = pierces ? kPiercingReach : 0.0f;
  const float dx = std::abs(shot.X - centre.X);
  const float dy = std::abs(shot.Y - centre.Y);
  if (dx > radius + extra + 1 || dy > radius + extra + 1) return false;
  float t = Distance(shot.X, shot.Y, centre.X, centre.Y);
  if (pierces) t -= kPiercingReach;
  return t <= radius;
}

}  // namespace

void ShotPass(Game& game, Body& body) {
  CursorList<Shot>& shots = game.Shots;
  const Point centre = body.Points[0];
  const auto ship_radius = static_cast<float>(game.ShipCopy.Radius);
  const auto body_radius = static_cast<float>(body.Radius);
  // By index: after a removal the pass goes on with the shot that followed the removed one, so
  // none is skipped, not even behind a removed first shot.
  std::int64_t i = 0;
  while (i < shots.CountList()) {
    Shot* shot = &shots.At(i);
    const ShipTest ship = TestAgainstShip(game, *shot, ship_radius);
    if (ship == ShipTest::kOutOfReach) {
      RemoveShot(game, i);
      continue;
    }
    if (ship == ShipTest::kHit) {
      HitShip(game, *shot);
      RemoveShot(game, i);
      if (shots.CountList() == 0) break;
      // The rest of this step goes to the shot the removal made current: the one before it, or
      // the new first one.
      if (i > 0) --i;
      shot = &shots.At(i);
    }
    if (OutsideWorld(game, *shot)) {
      RemoveShot(game, i);
      continue;
    }
    if (body.Kind != kKindWeapon && Reaches(*shot, centre, body_radius)) {
      body.Life -= static_cast<float>(shot->Damage);
      HitSparks(game, *shot, 255, 100, 0);
      game.Sounds.Add(SoundCueKind::BodyHit, shot->X, shot->Y, shot->Damage);
      // A piercing shot passes on, one damage weaker each time, until it has none left.
      const std::int32_t damage_left = shot->Damage - 1;
      if (Pierces(shot->Style) && damage_left > 0) {
        shot->Damage = static_cast<std::int16_t>(damage_left);
      } else {
        RemoveShot(game, i);
        continue;
      }
    }
    ++i;
  }
  EndWalk(shots);
}

}  // namespace starvane
