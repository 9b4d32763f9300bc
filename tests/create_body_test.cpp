#include "world/create_body.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/support/harness.hpp"
#include "world/body_geometry.hpp"
#include "world/kinds.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;

bool SamePoint(Point a, Point b) {
  return a.X == b.X && a.Y == b.Y;
}

// The number of outline vertices: points from 1 up to the first later copy of point 0.
std::size_t OutlineLength(const Body& body) {
  std::size_t n = 1;
  while (n + 1 < kBodyPoints && !SamePoint(body.Points[n + 1], body.Points[0])) ++n;
  return n;
}

void ExpectCopiesOfCentreFrom(const Body& body, std::size_t first) {
  for (std::size_t i = first; i < kBodyPoints; ++i) {
    EXPECT_TRUE(SamePoint(body.Points[i], body.Points[0])) << "point " << i;
  }
}

TEST(CreateBody, EveryKindAnswersToItsNameAndItsCode) {
  const struct {
    const char* name;
    int kind, radius;
    std::size_t vertices;
  } kinds[] = {{"randombig", 1, 40, 8}, {"random", 2, 20, 8},   {"randomlittle", 3, 10, 8},
               {"ship", 4, 8, 6},       {"shield", 5, 20, 8},   {"planet", 6, 400, 30},
               {"enemie", 7, 12, 10},   {"enemie2", 8, 12, 10}, {"glimmerhex", 9, 25, 28},
               {"enemie3", 10, 10, 10}, {"enemie4", 11, 5, 10}, {"weapon", 12, 0, 10}};
  for (const auto& k : kinds) {
    for (const std::string& name : {std::string(k.name), std::to_string(k.kind)}) {
      Harness t;
      t.game.Difficulty = 1;
      CreateBody(t.game, 300, -400, 2, -3, 4, name, 10, 20, 30);
      ASSERT_EQ(t.game.Bodies.CountList(), 1);
      const Body& body = t.game.Bodies.Current();
      EXPECT_EQ(body.Kind, k.kind) << name;
      EXPECT_EQ(body.Radius, k.radius) << name;
      EXPECT_EQ(body.Life, body.LifeMax) << name;
      EXPECT_EQ(OutlineLength(body), k.vertices) << name;
      ExpectCopiesOfCentreFrom(body, k.vertices + 1);
      EXPECT_TRUE(SamePoint(body.Points[0], {300, -400}));
      EXPECT_EQ(body.SpeedX, 2.0f);
      EXPECT_EQ(body.SpeedY, -3.0f);
      EXPECT_EQ(body.Spin, 4.0f);
      EXPECT_EQ(body.Blue, 30);
      EXPECT_EQ(body.OnScreen + body.NearScreen, 0);
    }
  }
}

TEST(CreateBody, AnUnknownNameGivesAnEmptyBodyOfKindZero) {
  Harness t;
  CreateBody(t.game, 50, 60, 1, 1, 1, "Randombig", 1, 2, 3);  // case matters
  const Body& body = t.game.Bodies.Current();
  EXPECT_EQ(t.game.Bodies.CountList(), 1);
  EXPECT_EQ(body.Kind, kKindNone);
  EXPECT_EQ(body.LifeMax, 0.0f);
  ExpectCopiesOfCentreFrom(body, 1);
  EXPECT_EQ(body.Red, 1);
}

TEST(CreateBody, RockCornersAreJitteredWithinTheirRanges) {
  const struct {
    const char* name;
    int x_low, x_high, y_low, y_high;
  } rocks[] = {{"randombig", -10, 10, -50, -30},
               {"random", -5, 5, -25, -15},
               {"randomlittle", -3, 3, -13, -7}};
  for (const auto& rock : rocks) {
    Harness t({.seed = 42});
    bool low_x = false, high_x = false;
    for (int i = 0; i < 400; ++i) {
      CreateBody(t.game, 1000, 1000, 0, 0, 0, rock.name, 0, 0, 0);
      const Point corner = t.game.Bodies.Current().Points[1];
      const float dx = corner.X - 1000;
      const float dy = corner.Y - 1000;
      ASSERT_GE(dx, rock.x_low);
      ASSERT_LE(dx, rock.x_high);
      ASSERT_GE(dy, rock.y_low);
      ASSERT_LE(dy, rock.y_high);
      low_x |= dx == rock.x_low;
      high_x |= dx == rock.x_high;
    }
    EXPECT_TRUE(low_x && high_x) << rock.name;
  }
}

TEST(CreateBody, ARockDrawsSixteenNumbersXBeforeYCornerByCorner) {
  Harness rock({.seed = 9});
  Harness draws({.seed = 9});
  CreateBody(rock.game, 0, 0, 0, 0, 0, "random", 0, 0, 0);
  const Body& body = rock.game.Bodies.Current();
  const int ax[] = {-5, 9, 15, 9, -5, -19, -25, -19};
  const int ay[] = {-25, -19, -5, 9, 15, 9, -5, -19};
  for (std::size_t i = 0; i < 8; ++i) {
    const int jx = Random(draws.game.Rng, 10);
    const int jy = Random(draws.game.Rng, 10);
    EXPECT_EQ(body.Points[i + 1].X, static_cast<float>(ax[i] + jx));
    EXPECT_EQ(body.Points[i + 1].Y, static_cast<float>(ay[i] + jy));
  }
  EXPECT_EQ(Random(rock.game.Rng, 1000000), Random(draws.game.Rng, 1000000));
}

TEST(CreateBody, ThePlanetIsARegularThirtyGonWalkedClockwise) {
  Harness t;
  CreateBody(t.game, -3000, -3000, 0, 0, 0, "planet", 100, 255, 100);
  const Body& planet = t.game.Bodies.Current();
  EXPECT_TRUE(SamePoint(planet.Points[1], {-2600, -3000}));
  EXPECT_EQ(planet.LifeMax, 10000.0f);
  const float pi = 3.14159265358979f;
  for (std::size_t i = 1; i <= 30; ++i) {
    const float angle = static_cast<float>(i - 1) * 12.0f * pi / 180.0f;  // clockwise: y grows
    EXPECT_NEAR(planet.Points[i].X, -3000 + 400 * std::cos(angle), 0.01f) << i;
    EXPECT_NEAR(planet.Points[i].Y, -3000 + 400 * std::sin(angle), 0.01f) << i;
  }
  ExpectCopiesOfCentreFrom(planet, 31);
  // Each corner is exactly the one before it turned by the 12-degree factors.
  const Rotation step = SetRotation(12);
  for (std::size_t i = 2; i <= 30; ++i) {
    const Point turned =
        TurnAbout(planet.Points[i - 1], planet.Points[0], step.CosNegA, step.SinNegA);
    EXPECT_TRUE(SamePoint(planet.Points[i], turned)) << i;
  }
}

TEST(CreateBody, EnemyLifeScalesWithTheDifficulty) {
  const struct {
    float difficulty, enemie, enemie4;
  } levels[] = {{0.2f, 6, 2}, {1, 30, 10}, {10, 300, 100}, {70, 2100, 700}, {150, 4500, 1500}};
  for (const auto& level : levels) {
    Harness t;
    t.game.Difficulty = level.difficulty;
    CreateBody(t.game, 0, 0, 0, 0, 0, "enemie", 0, 0, 0);
    EXPECT_FLOAT_EQ(t.game.Bodies.Current().LifeMax, level.enemie);
    CreateBody(t.game, 0, 0, 0, 0, 0, "11", 0, 0, 0);
    EXPECT_FLOAT_EQ(t.game.Bodies.Current().Life, level.enemie4);
    CreateBody(t.game, 0, 0, 0, 0, 0, "ship", 0, 0, 0);
    EXPECT_EQ(t.game.Bodies.Current().LifeMax, 100.0f);  // the ship does not scale
  }
}

TEST(CreateBody, TheShipMarksItsNoseAndTailAndNewBodiesFollowTheCurrentOne) {
  Harness t;
  CreateBody(t.game, 0, 0, 0, 0, 0, "ship", 0, 0, 0);
  EXPECT_EQ(t.game.NosePoint, 2);
  EXPECT_EQ(t.game.TailPoint, 5);
  const Body& ship = t.game.Bodies.Current();
  EXPECT_TRUE(SamePoint(ship.Points[static_cast<std::size_t>(t.game.NosePoint)], {0, -10}));
  CreateBody(t.game, 0, 0, 0, 0, 0, "weapon", 0, 0, 0);
  EXPECT_TRUE(SamePoint(t.game.Bodies.Current().Points[2], {0, -10}));  // the muzzle
  t.game.Bodies.SelectElement(0);
  CreateBody(t.game, 0, 0, 0, 0, 0, "shield", 0, 0, 0);
  EXPECT_EQ(t.game.Bodies.ListIndex(), 2);
  EXPECT_EQ(t.game.Bodies.At(2).Kind, kKindWeapon);
}

}  // namespace
}  // namespace starvane
