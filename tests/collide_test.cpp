// Collisions: the home planet's pull and hull, bodies bumping the ship, shots hitting, and the
// small geometry they share.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

#include "base/rounding.hpp"
#include "combat/collide.hpp"
#include "combat/planet_contact.hpp"
#include "combat/spark_burst.hpp"
#include "tests/support/arena.hpp"
#include "world/adders.hpp"
#include "world/contact_geometry.hpp"

namespace starvane {
namespace {

using starvane::testing::Arena;

TEST(PlanetContact, PullsTowardsTheCentreByGravityOverDistanceSquared) {
  Arena a;
  a.PlaceShip(-3000, -2000);  // 1000 below the planet's centre
  a.Upkeep();
  PullShip(a.game, a.At(kHomePlanetIndex));
  EXPECT_EQ(a.Ship().SpeedX, 0.0f);
  EXPECT_EQ(a.Ship().SpeedY, -4000.0f / (1000.0f * 1000.0f));

  // At the very centre the pull has no direction: nothing changes and nothing becomes NaN.
  a.PlaceShip(-3000, -3000, 1, 2);
  a.Upkeep();
  PullShip(a.game, a.At(kHomePlanetIndex));
  EXPECT_EQ(a.Ship().SpeedX, 1.0f);
  EXPECT_EQ(a.Ship().SpeedY, 2.0f);
}

TEST(PlanetContact, PushesTheShipOutOfTheHullAndTakesLifeOnlyAboveSpeedOne) {
  for (const float speed : {-1.0f, -5.0f}) {
    Arena a;
    // The nose (10 up) pokes into the planet's lowest edge, which the hull test takes at the
    // whole y -2602. Turned a little, so that no point of the outline shares the centre's x.
    a.PlaceShip(-3000, -2595, 0, speed);
    a.TurnBody(kShipIndex, 3);
    a.Upkeep();
    ASSERT_EQ(OutlineLength(a.game, kShipIndex), 6);
    const std::int32_t sparks_before = a.game.Sparks.CountList();
    PushShipOutOfHull(a.game, a.At(kHomePlanetIndex));

    const float nose_y = a.Ship().Points[2].Y;
    EXPECT_GE(nose_y, -2602.0f) << "the nose is outside again";
    EXPECT_LT(nose_y, -2602.0f + 0.05f) << "by no more than one step";
    EXPECT_EQ(a.game.ShipCopy.Points[2].Y, nose_y);
    EXPECT_EQ(a.game.ShipOverride.SpeedY, speed / -5);
    if (speed < -1) {
      EXPECT_EQ(a.game.ShipOverride.Life, 100 - 5.0f);
    } else {
      EXPECT_EQ(a.game.ShipOverride.Life, 0.0f) << "no damage at a speed of 1";
    }
    EXPECT_EQ(a.game.Sparks.CountList() - sparks_before, std::abs(static_cast<int>(speed)));
  }
}

TEST(PlanetContact, AShipOnThePlanetsVeryCentreEndsTheTest) {
  Arena a;
  a.PlaceShip(-3000, -3000);  // every push is zero: the passes would never end
  a.Upkeep();
  Collide(a.game);
  EXPECT_EQ(a.Ship().Points[0].X, -3000.0f);
  EXPECT_TRUE(std::isfinite(a.Ship().SpeedX) && std::isfinite(a.Ship().SpeedY));
}

// The hull test written as plainly as the game states it, with no end but a pass that finds no
// point of the ship inside: every push moves all 101 points, every test walks every edge.
bool PlainlyInside(Game& game, const Body& planet, Point s) {
  const Point& c = planet.Points[0];
  bool any_edge = false;
  bool inside = true;
  for (std::size_t i = 1; i < kBodyPoints - 1; ++i) {
    const Point& from = planet.Points[i];
    if (from.X == c.X && from.Y == c.Y) break;
    const Point& next = planet.Points[i + 1];
    const Point& to = next.X == c.X || next.Y == c.Y ? planet.Points[1] : next;
    if (RoundToInt(from.X) != RoundToInt(to.X)) {
      LineThrough(game, RoundToInt(from.X), RoundToInt(from.Y), RoundToInt(to.X), RoundToInt(to.Y));
    }
    any_edge = true;
    const float point_line =
        static_cast<float>(RoundToInt(game.LineSlope * s.X)) + game.LineIntercept;
    const float centre_line = game.LineSlope * c.X + game.LineIntercept;
    if (!((s.Y < point_line && c.Y < centre_line) || (s.Y > point_line && c.Y > centre_line))) {
      inside = false;
    }
  }
  return any_edge && inside;
}

void PlainlyPushOut(Game& game, const Body& planet) {
  const Point c = planet.Points[0];
  Body& ship = game.Bodies.At(kShipIndex);
  bool contact = false;
  int end = 1;
  for (bool moved = true; moved;) {
    moved = false;
    int j = 1;
    for (; j <= OutlineLength(game, kShipIndex); ++j) {
      if (!PlainlyInside(game, planet, game.ShipCopy.Points[static_cast<std::size_t>(j)])) {
        continue;
      }
      if (game.ShipSpeed > 1) game.ShipOverride.Life = game.Life.Value - game.ShipSpeed;
      for (Point& point : ship.Points) {
        point.X += (game.ShipX - c.X) / 10000;
        point.Y += (game.ShipY - c.Y) / 10000;
      }
      game.ShipCopy.Points = ship.Points;
      game.ShipOverride.SpeedX = game.ShipSpeedX / -5;
      game.ShipOverride.SpeedY = game.ShipSpeedY / -5;
      moved = contact = true;
    }
    end = j;
  }
  if (!contact) return;
  const Point& at = game.ShipCopy.Points[static_cast<std::size_t>(end)];
  SparkBurst(game, RoundToInt(at.X), RoundToInt(at.Y), RoundToInt(game.ShipSpeed), 255, 100, 0);
}

std::uint32_t Bits(float f) {
  return std::bit_cast<std::uint32_t>(f);
}

// However deep the ship lands (300 units inside takes some 30,000 pushes, far more passes than
// the test once allowed), it ends on exactly the floats of the plain pass-by-pass walk.
TEST(PlanetContact, ADeepLandingEndsBitForBitWhereThePlainWalkEnds) {
  for (const float depth : {300.0f, 200.0f, 100.0f, 10.0f}) {
    for (const std::int32_t turn : {0, 7}) {
      Arena fast;
      Arena plain;
      const float out = 400 - depth;  // from the planet's centre, down and to the right
      for (Arena* a : {&fast, &plain}) {
        a->PlaceShip(-3000 + 0.6f * out, -3000 + 0.8f * out, -12, -16);
        if (turn != 0) a->TurnBody(kShipIndex, turn);
        a->Upkeep();
      }
      PushShipOutOfHull(fast.game, fast.At(kHomePlanetIndex));
      PlainlyPushOut(plain.game, plain.At(kHomePlanetIndex));

      const std::string where = "depth " + std::to_string(depth) + " turn " + std::to_string(turn);
      for (std::size_t i = 0; i < kBodyPoints; ++i) {
        ASSERT_EQ(Bits(fast.Ship().Points[i].X), Bits(plain.Ship().Points[i].X)) << where << i;
        ASSERT_EQ(Bits(fast.Ship().Points[i].Y), Bits(plain.Ship().Points[i].Y)) << where << i;
        ASSERT_EQ(Bits(fast.game.ShipCopy.Points[i].X), Bits(plain.game.ShipCopy.Points[i].X));
        ASSERT_EQ(Bits(fast.game.ShipCopy.Points[i].Y), Bits(plain.game.ShipCopy.Points[i].Y));
      }
      EXPECT_EQ(Bits(fast.game.ShipOverride.Life), Bits(plain.game.ShipOverride.Life)) << where;
      EXPECT_EQ(Bits(fast.game.ShipOverride.SpeedX), Bits(plain.game.ShipOverride.SpeedX));
      EXPECT_EQ(Bits(fast.game.ShipOverride.SpeedY), Bits(plain.game.ShipOverride.SpeedY));
      EXPECT_EQ(Bits(fast.game.LineSlope), Bits(plain.game.LineSlope)) << where;
      EXPECT_EQ(Bits(fast.game.LineIntercept), Bits(plain.game.LineIntercept)) << where;
      ASSERT_EQ(fast.game.Sparks.CountList(), plain.game.Sparks.CountList()) << where;
      EXPECT_EQ(Bits(fast.game.Sparks.Current().X), Bits(plain.game.Sparks.Current().X));
      EXPECT_EQ(Bits(fast.game.Sparks.Current().Y), Bits(plain.game.Sparks.Current().Y));
      EXPECT_EQ(fast.game.Rng.Draw64(), plain.game.Rng.Draw64()) << "the same draws";
      EXPECT_GT(fast.Ship().Points[0].Y, -3000 + 0.8f * 380) << "out near the edge: " << where;
    }
  }
}

TEST(Collide, ABodyBumpingTheShipSwapsSpeedsAndHurtsOnlyWithoutTheShield) {
  for (const bool shield : {false, true}) {
    Arena a;
    a.PlaceShip(0, 0, 2, 0);
    const std::int64_t rock = a.Add(15, 0, "random", -1, 0);
    if (shield) a.At(kShieldIndex).Kind = kKindShield;
    a.Upkeep();
    const float rock_x = a.At(rock).Points[0].X;
    Collide(a.game);

    EXPECT_EQ(a.game.ShipOverride.SpeedX, -1 + 0.01f);
    EXPECT_EQ(a.game.ShipOverride.SpeedY, 0 + 0.01f);
    EXPECT_EQ(a.At(rock).SpeedX, 2.0f);
    EXPECT_EQ(a.At(rock).Points[0].X, rock_x + 1) << "stepped back by its own speed";
    EXPECT_EQ(a.game.ShipOverride.Points[0].X, a.game.ShipCopy.Points[0].X - 2);
    EXPECT_EQ(a.game.ShipOverride.Life, shield ? 0.0f : 100 - 2.0f);
  }
}

TEST(Collide, ABumpThatLeavesExactlyNoLifeIsStillLethal) {
  Arena a;
  a.game.Life.Value = 3;
  a.PlaceShip(0, 0, 3, 0);
  a.Add(15, 0, "random");
  a.Upkeep();
  Collide(a.game);
  EXPECT_EQ(a.game.ShipOverride.Life, -1.0f);
}

// A body touching the planet steps back by its speed, turns round, and is moved out by a
// hundredth of its distance from the planet's centre.
TEST(Collide, ABodyTouchingThePlanetStepsBackReversesAndMovesAHundredthOut) {
  Arena a;
  a.PlaceShip(-2800, -2300);  // near enough for the planet and the rock to be near the screen
  // One frame of motion (1, 2) past the point (200, 300) off the planet's centre.
  const std::int64_t rock = a.Add(-2799, -2698, "random", 1, 2);
  a.Upkeep();
  ASSERT_EQ(BodiesTouch(a.game, rock, kHomePlanetIndex), 1);
  const Point outline = a.At(rock).Points[1];
  Collide(a.game);
  EXPECT_EQ(a.At(rock).SpeedX, -1.0f);
  EXPECT_EQ(a.At(rock).SpeedY, -2.0f);
  EXPECT_EQ(a.At(rock).Points[0].X, -2800.0f + 2) << "200 / 100 out from the centre";
  EXPECT_EQ(a.At(rock).Points[0].Y, -2700.0f + 3) << "300 / 100 out from the centre";
  EXPECT_EQ(a.At(rock).Points[1].X, outline.X - 1 + 2) << "the whole outline moves";
  EXPECT_EQ(a.At(rock).Points[1].Y, outline.Y - 2 + 3);
}

TEST(Collide, FragmentsAndTheTurretNeverBumpTheShip) {
  Arena a;
  a.PlaceShip(0, 0, 2, 0);
  const std::int64_t fragment = a.Add(10, 0, "random");
  a.At(fragment).Kind = kKindFragment;
  a.Upkeep();  // the turret sits on the ship's centre
  Collide(a.game);
  EXPECT_EQ(a.game.ShipOverride.SpeedX, 0.0f);
  EXPECT_EQ(a.game.ShipOverride.Life, 0.0f);
}

// Shots are tested by the pass of every body near the screen; one rock far from the ship is
// enough to run it.
struct ShotRange : Arena {
  ShotRange() {
    rock = Add(300, 0, "random");  // radius 20
    Upkeep();
  }
  Shot& Fire(float x, float y, std::int32_t damage = 5, ShotStyle style = ShotStyle::Dot) {
    game.Shots.SelectElement(game.Shots.CountList() - 1);
    AddShot(game, 0, 0, 0, 0, damage, style, 1, 2, 3);
    Shot& shot = game.Shots.Current();
    shot.X = x;
    shot.Y = y;
    return shot;
  }
  std::int64_t rock = 0;
};

TEST(ShotPass, ShotsBeyond1200AreDroppedWithoutSkippingTheOneBehind) {
  ShotRange r;
  r.Fire(0, 1200.1f);  // the first three are all dropped
  r.Fire(-1200.1f, 0);
  r.Fire(0, -1300);
  r.Fire(1200, 0).Damage = 7;  // exactly 1200 away: stays
  Collide(r.game);
  ASSERT_EQ(r.game.Shots.CountList(), 1);
  EXPECT_EQ(r.game.Shots.At(0).Damage, 7);

  // The quick test by offsets decides as the exact distance would, even for a shot whose
  // position is not a number: its distance is no number, so it is neither hit nor dropped.
  r.Fire(std::nanf(""), 5000);
  Collide(r.game);
  EXPECT_EQ(r.game.Shots.CountList(), 2);

  // Near the world's edge: a shot just outside the world is dropped though it is near.
  Arena edge;
  edge.PlaceShip(9990, 0);
  edge.Add(9700, 0, "random");
  edge.Upkeep();
  AddShot(edge.game, 10001, 0, 0, 0, 5, ShotStyle::Dot, 1, 2, 3);
  Collide(edge.game);
  EXPECT_EQ(edge.game.Shots.CountList(), 0);
}

TEST(ShotPass, ShotsHitBodiesWithinTheirRadiusAndBallsPassOnWeaker) {
  ShotRange r;
  r.Fire(320, 0, 5);  // exactly the radius away
  Collide(r.game);
  EXPECT_EQ(r.At(r.rock).Life, 10 - 5.0f);
  EXPECT_EQ(r.game.Shots.CountList(), 0);

  r.Fire(330, 0, 2, ShotStyle::Ball);  // a ball reaches 10 farther
  Collide(r.game);
  EXPECT_EQ(r.At(r.rock).Life, 5 - 2.0f);
  ASSERT_EQ(r.game.Shots.CountList(), 1);
  EXPECT_EQ(r.game.Shots.At(0).Damage, 1);
  Collide(r.game);
  EXPECT_EQ(r.At(r.rock).Life, 3 - 1.0f);
  EXPECT_EQ(r.game.Shots.CountList(), 0) << "no damage left";

  r.Fire(330.5f, 0);  // just out of reach
  Collide(r.game);
  EXPECT_EQ(r.game.Shots.CountList(), 1);
}

TEST(ShotPass, AShotRemovedAfterAHitDoesNotLetTheOneBehindItPass) {
  ShotRange r;
  r.Fire(310, 0, 3);
  r.Fire(315, 0, 4);
  r.Fire(305, 0, 2);
  Collide(r.game);
  EXPECT_EQ(r.At(r.rock).Life, 10 - 3 - 4 - 2.0f) << "all three hit in one pass";
  EXPECT_EQ(r.game.Shots.CountList(), 0);
}

TEST(ShotPass, TheTurretIsNeverHit) {
  ShotRange r;
  r.game.ShipCopy.Radius = 0;  // so that the shot reaches the turret rather than the ship
  r.Fire(0.5f, 0, 5,
         ShotStyle::Ball);  // a ball: 10 units of reach more than the turret's centre needs
  Collide(r.game);
  EXPECT_EQ(r.game.Shots.CountList(), 1);
  EXPECT_EQ(r.At(kTurretIndex).Life, r.At(kTurretIndex).LifeMax);
}

TEST(ShotPass, HitsOnTheShipCostLifeOrAThirdOfTheDamageInEnergy) {
  ShotRange r;
  r.game.Life.Value = 3;
  r.Fire(2, 0, 5);
  Collide(r.game);
  EXPECT_EQ(r.game.ShipOverride.Life, -1.0f) << "never 0.0, which would mean no change";
  EXPECT_EQ(r.game.Shots.CountList(), 0);

  ShotRange none_left;  // 5 life, 5 damage: exactly none left is lethal too
  none_left.game.Life.Value = 5;
  none_left.Fire(2, 0, 5);
  Collide(none_left.game);
  EXPECT_EQ(none_left.game.ShipOverride.Life, -1.0f);

  ShotRange shielded;
  shielded.At(kShieldIndex).Kind = kKindShield;
  shielded.Upkeep();
  shielded.Fire(2, 0, 10);
  Collide(shielded.game);
  EXPECT_EQ(shielded.game.Energie.Value, 300 - 10 / 3.0f);
  EXPECT_EQ(shielded.game.ShipOverride.Life, 0.0f);
}

TEST(CollisionGeometry, LinesOutlinesAndTouching) {
  Arena a;
  LineThrough(a.game, 0, 1, 2, 5);
  EXPECT_EQ(a.game.LineSlope, 2.0f);
  EXPECT_EQ(a.game.LineIntercept, 1.0f);
  // A vertical line is the steepest line the grid allows: finite, through the first end.
  LineThrough(a.game, 3, 1, 3, 9);
  EXPECT_EQ(a.game.LineSlope, 8.0f);
  EXPECT_EQ(a.game.LineSlope * 3 + a.game.LineIntercept, 1.0f);
  LineThrough(a.game, 3, 1, 3, 1);
  EXPECT_EQ(a.game.LineSlope, 0.0f);

  // Slope and intercept each rounded to float once per operation, the intercept through the
  // first end: (106 - -63) / (187 - -146), then 106 - slope * 187.
  LineThrough(a.game, 187, 106, -146, -63);
  EXPECT_EQ(Bits(a.game.LineSlope), 0x3F01EC03u);      // 0.50750750
  EXPECT_EQ(Bits(a.game.LineIntercept), 0x413189A0u);  // 11.0960999, not 11.0960970 or 11.0960960

  const std::int64_t rock = a.Add(100, 100, "randomlittle");
  Body& body = a.At(rock);
  for (std::size_t k = 1; k < kBodyPoints; ++k) {
    body.Points[k] = k <= 8 ? Point{100.0f + k, 100.0f - k} : body.Points[0];
  }
  EXPECT_EQ(OutlineLength(a.game, rock), 8);
  body.Points[4].Y = 100;  // shares only its y with the centre
  EXPECT_EQ(OutlineLength(a.game, rock), 3);
  EXPECT_EQ(OutlineLength(a.game, 999), 0);
  body.Radius = 40;

  a.game.Bodies.SelectElement(kShipIndex);
  EXPECT_EQ(BodiesTouch(a.game, rock, kShipIndex), 0);
  EXPECT_EQ(a.game.Bodies.ListIndex(), rock + 1) << "leaves the first body current";
  a.At(rock).Points[0] = Point{48, 0};  // radii 40 + 8
  EXPECT_EQ(BodiesTouch(a.game, rock, kShipIndex), 1);
  a.At(rock).Points[0] = Point{48.01f, 0};
  EXPECT_EQ(BodiesTouch(a.game, rock, kShipIndex), 0);
}

TEST(SparkBurst, ThrowsNSparksOfBoundedSpeedAndNeverMoreThanTheCap) {
  Arena a;
  SparkBurst(a.game, 1, 2, 0, 255, 0, 0);
  SparkBurst(a.game, 1, 2, -5, 255, 0, 0);
  EXPECT_EQ(a.game.Sparks.CountList(), 0);
  SparkBurst(a.game, 1, 2, 4, 255, 100, 0);
  ASSERT_EQ(a.game.Sparks.CountList(), 4);
  a.game.Sparks.ForEach([](const Spark& spark) {
    EXPECT_EQ(spark.X, 1.0f);
    EXPECT_EQ(spark.Green, 100);
    // Each axis up to n / 2 before the turn, so at most 2 * sqrt(2) after it.
    EXPECT_LE(std::hypot(spark.SpeedX, spark.SpeedY), 2.9f);
  });
  SparkBurst(a.game, 0, 0, 2147483647, 1, 1, 1);  // a contact at an absurd speed
  EXPECT_EQ(a.game.Sparks.CountList(), 4 + kMostSparksPerBurst);
}

// Capping the count leaves the spread alone: a burst of 5,000 throws 1,000 sparks that fly up to
// 2,500 units a frame on each axis, and the largest burst draws its speeds without overflow.
TEST(SparkBurst, ACappedBurstKeepsTheSpeedsOfItsWholeCount) {
  for (const std::int32_t n : {5000, 2147483647}) {
    Arena a;
    SparkBurst(a.game, 0, 0, n, 1, 1, 1);
    ASSERT_EQ(a.game.Sparks.CountList(), kMostSparksPerBurst);
    const double half = n / 2.0;
    double fastest = 0;
    a.game.Sparks.ForEach([&](const Spark& spark) {
      fastest = std::max(fastest, std::hypot(double{spark.SpeedX}, double{spark.SpeedY}));
    });
    EXPECT_GT(fastest, half / 2) << n;
    EXPECT_LE(fastest, half * std::sqrt(2.0) * 1.001) << n;
  }
}

}  // namespace
}  // namespace starvane
