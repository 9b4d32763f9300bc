// Enemy craft: chasing, aiming, firing on their beat, draining, coasting far from the screen.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "base/random.hpp"
#include "combat/enemy_behaviour.hpp"
#include "tests/support/arena.hpp"
#include "world/contact_geometry.hpp"
#include "world/steering.hpp"

namespace starvane {
namespace {

using starvane::testing::Arena;

// An enemy of the kind 100 units left of the ship, turned so that its nose points at the ship.
struct Duel : Arena {
  explicit Duel(std::string_view kind, float difficulty = 1) : Arena(difficulty) {
    enemy = Add(-100, 0, kind);
    TurnBody(enemy, 90);
    Upkeep();
  }
  // Steers once with the beat set to (tick, tock); returns how many shots were added.
  std::int32_t SteerOnBeat(std::int16_t tick, std::int16_t tock) {
    game.FrameTick = tick;
    game.FrameTock = tock;
    const std::int32_t before = game.Shots.CountList();
    SteerEnemies(game);
    return game.Shots.CountList() - before;
  }
  std::int64_t enemy = 0;
};

TEST(SteerEnemies, AnEnemyMatchedToTheShipsSpeedOnlyTurnsOtherwiseItThrusts) {
  Duel d("enemie");
  d.At(d.enemy).SpeedX = 0.5f;  // within 1 of the ship's 0: matched
  d.SteerOnBeat(1, 0);
  EXPECT_EQ(d.At(d.enemy).SpeedX, 0.5f);
  EXPECT_EQ(d.game.Sparks.CountList(), 0);
  EXPECT_NE(d.At(d.enemy).Spin, 0.0f);

  d.At(d.enemy).SpeedX = 1;  // exactly 1 faster: the bounds are strict
  d.SteerOnBeat(1, 0);
  EXPECT_EQ(d.game.Sparks.CountList(), 1) << "an exhaust spark";
  EXPECT_GT(d.At(d.enemy).SpeedX, 1.0f) << "thrust along the nose, towards the ship";
  EXPECT_EQ(std::abs(d.At(d.enemy).Spin), 3.0f);
}

// The exhaust spark flies back along the nose at the body's new speed, its y jitter drawn
// before its x one.
TEST(Thrust, TheExhaustSparkDrawsItsYJitterBeforeItsX) {
  Duel d("enemie");
  bool told_apart = false;  // the jitters differed at least once, so their order shows
  for (int frame = 0; frame < 6; ++frame) {
    RandomGenerator draws = d.game.Rng;
    const int jitter_y = Random(draws, 2);
    const int jitter_x = Random(draws, 2);
    told_apart = told_apart || jitter_x != jitter_y;
    Thrust(d.game, d.enemy, 1, 6, 500);
    const Body& enemy = d.At(d.enemy);
    const float nose_x = enemy.Points[1].X - enemy.Points[0].X;
    const float nose_y = enemy.Points[1].Y - enemy.Points[0].Y;
    const Spark& spark = d.game.Sparks.Current();
    EXPECT_NEAR(spark.SpeedX, -nose_x / 3 + jitter_x + enemy.SpeedX - 1, 1e-3);
    EXPECT_NEAR(spark.SpeedY, -nose_y / 3 + jitter_y + enemy.SpeedY - 1, 1e-3);
  }
  EXPECT_TRUE(told_apart);
}

TEST(SteerEnemies, EachKindFiresOnItsBeatWithItsDamage) {
  Duel first("enemie", 0.2f);
  EXPECT_EQ(first.SteerOnBeat(0, 2), 0);
  EXPECT_EQ(first.SteerOnBeat(4, 5), 0);
  ASSERT_EQ(first.SteerOnBeat(0, 5), 1);
  const Shot& shot = first.game.Shots.Current();
  EXPECT_EQ(shot.Damage, 1) << "round(0.2 * 5)";
  EXPECT_EQ(shot.Style, ShotStyle::Streak);
  EXPECT_EQ(shot.X, -100 + 15.0f) << "from the nose";
  EXPECT_EQ(shot.SpeedX, 15.0f) << "at the nose's offset from the centre";

  Duel second("enemie2", 0.2f);
  EXPECT_EQ(second.SteerOnBeat(4, 0) + second.SteerOnBeat(7, 3) + second.SteerOnBeat(3, 0), 2);
  EXPECT_EQ(second.game.Shots.Current().Damage, 0) << "round(0.2 * 2)";
  EXPECT_EQ(second.game.Shots.Current().Style, ShotStyle::Dot);

  Duel third("enemie3", 10);
  EXPECT_EQ(third.SteerOnBeat(0, 7) + third.SteerOnBeat(4, 0), 1);
  EXPECT_EQ(third.game.Shots.Current().Damage, 20);

  Duel fourth("enemie4");
  EXPECT_EQ(fourth.SteerOnBeat(0, 5) + fourth.SteerOnBeat(4, 0), 0) << "never fires";
}

TEST(SteerEnemies, AnEnemyNotLinedUpHoldsItsFire) {
  Duel d("enemie3");
  d.TurnBody(d.enemy, 90);  // nose pointing down, off the ship
  EXPECT_EQ(d.SteerOnBeat(0, 0), 0);
}

TEST(SteerEnemies, TheFourthKindDrainsLifeAndEnergyOrWithTheShieldTwiceTheEnergy) {
  Duel open("enemie4", 10);
  open.SteerOnBeat(1, 0);
  EXPECT_EQ(open.game.Life.Value, 100 - 10 * 0.01f);
  EXPECT_EQ(open.game.Energie.Value, 300 - 10 * std::bit_cast<float>(0x3CCCCCCCu));

  Duel shielded("enemie4", 10);
  shielded.At(kShieldIndex).Kind = kKindShield;
  shielded.Upkeep();
  shielded.SteerOnBeat(1, 0);
  EXPECT_EQ(shielded.game.Life.Value, 100.0f);
  EXPECT_EQ(shielded.game.Energie.Value, 300 - 10 * std::bit_cast<float>(0x3D4CCCCCu));
}

TEST(SteerEnemies, EnemiesFarFromTheScreenCoastToAStop) {
  Arena a;
  const std::int64_t moving = a.Add(5000, 0, "enemie2", 3, -2);
  const std::int64_t still = a.Add(5000, 100, "enemie2");
  const std::int64_t rock = a.Add(5000, 200, "random", 3, 0);
  a.Upkeep();
  SteerEnemies(a.game);
  EXPECT_EQ(a.At(moving).SpeedX, 3.0f / 10 * 9);
  EXPECT_EQ(a.At(moving).SpeedY, -2.0f / 10 * 9);
  EXPECT_EQ(a.At(still).SpeedX, 0.0f);
  EXPECT_EQ(a.At(rock).SpeedX, 3.0f) << "only enemy craft slow down";
  EXPECT_EQ(a.At(moving).Spin, 0.0f);
}

TEST(SteerTo, TurnsTheNoseTowardsTheTargetAndSurvivesATargetStraightAhead) {
  Duel d("enemie");                           // nose at (-85, 0), tail at (-102, 0)
  SteerTo(d.game, d.enemy, 1, 6, 0, 100, 3);  // the target lies below: turn clockwise
  EXPECT_EQ(d.At(d.enemy).Spin, 3.0f);
  SteerTo(d.game, d.enemy, 1, 6, 0, -100, 3);
  EXPECT_EQ(d.At(d.enemy).Spin, -3.0f);

  // The glimmerhex re-aims with its centre as the tail; with no x speed the target lies
  // straight above or below it, on a line without a slope.
  const std::int64_t hex = d.Add(300, 300, "glimmerhex");
  SteerTo(d.game, hex, 1, 0, 300, 300 + 100 * 4, 3);
  EXPECT_EQ(std::abs(d.At(hex).Spin), 3.0f);
  EXPECT_TRUE(std::isfinite(d.game.LineSlope) && std::isfinite(d.game.LineIntercept));
  FireAt(d.game, d.enemy, 1, 6, -102, 50);  // tail and target on one vertical line
  EXPECT_TRUE(std::isfinite(d.game.LineSlope));
}

}  // namespace
}  // namespace starvane
