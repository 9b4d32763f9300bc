#include "world/world_generation.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "app/state_summary.hpp"
#include "tests/support/harness.hpp"
#include "world/kinds.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;
using starvane::testing::World;

Harness GeneratedWorld(std::uint64_t seed, float difficulty = 1) {
  return Harness({.seed = seed, .difficulty = difficulty, .world = World::Generated});
}

TEST(WorldGeneration, MakesTheCountsOfTheDefaultWorld) {
  Harness w = GeneratedWorld(7);
  EXPECT_EQ(w.game.Bodies.CountList(), 894);
  EXPECT_EQ(w.game.BigStars.CountList(), 5000);
  EXPECT_EQ(w.game.SmallStars.CountList(), 5000);
  std::map<int, int> kinds;
  for (int i = 0; i < w.game.Bodies.CountList(); ++i) ++kinds[w.game.Bodies.At(i).Kind];
  const std::map<int, int> expected{{kKindNone, 1},       {kKindRandomBig, 716}, {kKindShip, 1},
                                    {kKindPlanet, 1},     {kKindEnemie, 100},    {kKindEnemie2, 40},
                                    {kKindGlimmerhex, 1}, {kKindEnemie3, 33},    {kKindWeapon, 1}};
  EXPECT_EQ(kinds, expected);
  EXPECT_EQ(w.game.Bodies.ListIndex(), 894);  // the cursor rests on the belt's last rock
}

TEST(WorldGeneration, PutsTheFixedBodiesFirst) {
  Harness w = GeneratedWorld(7);
  const Game& g = w.game;
  const Body& ship = g.Bodies.At(kShipIndex);
  EXPECT_EQ(ship.Kind, kKindShip);
  EXPECT_EQ(ship.Spin, 1.0f);
  EXPECT_EQ(ship.Red, 255);
  EXPECT_EQ(ship.Blue, 255);
  const Body& shield = g.Bodies.At(kShieldIndex);
  EXPECT_EQ(shield.Kind, kKindNone);
  EXPECT_EQ(shield.Radius, 20);  // a real shield, only switched off
  EXPECT_EQ(shield.Spin, 10.0f);
  EXPECT_EQ(g.Bodies.At(kHomePlanetIndex).Kind, kKindPlanet);
  EXPECT_EQ(g.Bodies.At(kHomePlanetIndex).Points[0].X, -3000.0f);
  EXPECT_EQ(g.Bodies.At(kTurretIndex).Kind, kKindWeapon);
  const Body& glimmerhex = g.Bodies.At(kGlimmerhexIndex);
  EXPECT_EQ(glimmerhex.Kind, kKindGlimmerhex);
  EXPECT_GE(glimmerhex.SpeedX, -5.0f);
  EXPECT_LE(glimmerhex.SpeedX, 5.0f);
}

TEST(WorldGeneration, PlacesEverythingWhereItsStepSays) {
  Harness w = GeneratedWorld(123);
  const Game& g = w.game;
  // Bodies 5..177: enemies; group members may lie up to 100 units beyond the square.
  for (int i = 5; i < 178; ++i) {
    const Body& b = g.Bodies.At(i);
    EXPECT_LE(std::fabs(b.Points[0].X), 10100.0f);
    EXPECT_LE(std::fabs(b.Points[0].Y), 10100.0f);
    EXPECT_EQ(b.SpeedX, 0.0f);
  }
  // Groups of three: each member 0..50 right of and below the one made just before it.
  for (int group = 0; group < 20; ++group) {
    const int first = 5 + 33 + 40 + group * 3;
    for (int member = 1; member <= 2; ++member) {
      const Point before = g.Bodies.At(first + member - 1).Points[0];
      const Point at = g.Bodies.At(first + member).Points[0];
      EXPECT_GE(at.X - before.X, 0.0f);
      EXPECT_LE(at.X - before.X, 50.0f);
      EXPECT_GE(at.Y - before.Y, 0.0f);
      EXPECT_LE(at.Y - before.Y, 50.0f);
    }
  }
  // The belt: 666 rocks between y 2200 and 4200 that drift only along x.
  for (int i = 894 - 666; i < 894; ++i) {
    const Body& rock = g.Bodies.At(i);
    EXPECT_EQ(rock.Kind, kKindRandomBig);
    EXPECT_GE(rock.Points[0].Y, 2200.0f);
    EXPECT_LE(rock.Points[0].Y, 4200.0f);
    EXPECT_EQ(rock.SpeedY, 0.0f);
    EXPECT_LE(std::fabs(rock.SpeedX), 1.0f);
    EXPECT_LE(std::fabs(rock.Spin), 2.0f);
  }
  for (int i = 0; i < g.SmallStars.CountList(); ++i) {
    const Star& star = g.SmallStars.At(i);
    ASSERT_GE(star.X, -10000.0f);
    ASSERT_LE(star.X, 20000.0f);
    ASSERT_GE(star.Y, -10000.0f);
    ASSERT_LE(star.Y, 20000.0f);
  }
}

TEST(WorldGeneration, OneSeedOneWorldTwoSeedsTwoWorlds) {
  Harness a = GeneratedWorld(2024);
  Harness b = GeneratedWorld(2024);
  Harness c = GeneratedWorld(2025);
  EXPECT_EQ(StateSummary(a.game, 0), StateSummary(b.game, 0));
  int same_as_c = 0;
  for (int i = 0; i < 894; ++i) {
    const Body& x = a.game.Bodies.At(i);
    const Body& y = b.game.Bodies.At(i);
    for (std::size_t p = 0; p < kBodyPoints; ++p) {
      ASSERT_EQ(x.Points[p].X, y.Points[p].X);
      ASSERT_EQ(x.Points[p].Y, y.Points[p].Y);
    }
    ASSERT_EQ(x.Red, y.Red);
    same_as_c += x.Points[0].X == c.game.Bodies.At(i).Points[0].X;
  }
  EXPECT_LT(same_as_c, 20);  // the ship, shield, planet, turret and not much else
  EXPECT_EQ(a.game.SmallStars.At(4999).X, b.game.SmallStars.At(4999).X);
}

TEST(WorldGeneration, DrawsTheArgumentsOfACallFromTheLastToTheFirst) {
  // The glimmerhex is the first body made with random arguments: speedY, speedX, y, x.
  Harness w = GeneratedWorld(77);
  Harness draws({.seed = 77});
  const int speed_y = Random(draws.game.Rng, 10) - 5;
  const int speed_x = Random(draws.game.Rng, 10) - 5;
  const int y = Random(draws.game.Rng, 20000) - 10000;
  const int x = Random(draws.game.Rng, 20000) - 10000;
  const Body& glimmerhex = w.game.Bodies.At(kGlimmerhexIndex);
  EXPECT_EQ(glimmerhex.SpeedY, static_cast<float>(speed_y));
  EXPECT_EQ(glimmerhex.SpeedX, static_cast<float>(speed_x));
  EXPECT_EQ(glimmerhex.Points[0].Y, static_cast<float>(y));
  EXPECT_EQ(glimmerhex.Points[0].X, static_cast<float>(x));
}

TEST(WorldGeneration, EnemyLifeFollowsTheDifficulty) {
  Harness w = GeneratedWorld(5, 0.2f);
  EXPECT_FLOAT_EQ(w.game.Bodies.At(5).LifeMax, 10.0f);  // enemie3: 0.2 x 50
  EXPECT_FLOAT_EQ(w.game.Bodies.At(kGlimmerhexIndex).LifeMax, 20.0f);
}

}  // namespace
}  // namespace starvane
