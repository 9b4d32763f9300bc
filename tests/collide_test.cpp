// Collisions: the home planet's pull and hull, bodies bumping the ship, shots hitting, and the
// small geometry they share.

#include <gtest/gtest.h>

#include <cmath>

#include "arena.hpp"
#include "combat/collide.hpp"
#include "combat/collision_geometry.hpp"
#include "combat/planet_contact.hpp"
#include "combat/spark_burst.hpp"
#include "world/adders.hpp"

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
  Shot& Fire(float x, float y, std::int32_t damage = 5, std::int32_t style = 2) {
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
  AddShot(edge.game, 10001, 0, 0, 0, 5, 2, 1, 2, 3);
  Collide(edge.game);
  EXPECT_EQ(edge.game.Shots.CountList(), 0);
}

TEST(ShotPass, ShotsHitBodiesWithinTheirRadiusAndBallsPassOnWeaker) {
  ShotRange r;
  r.Fire(320, 0, 5);  // exactly the radius away
  Collide(r.game);
  EXPECT_EQ(r.At(r.rock).Life, 10 - 5.0f);
  EXPECT_EQ(r.game.Shots.CountList(), 0);

  r.Fire(330, 0, 2, 3);  // a ball reaches 10 farther
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

TEST(ShotPass, TheTurretIsNeverHit) {
  ShotRange r;
  r.game.ShipCopy.Radius = 0;  // so that the shot reaches the turret rather than the ship
  r.Fire(0.5f, 0, 5, 3);       // a ball: 10 units of reach more than the turret's centre needs
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

  const std::int64_t rock = a.Add(100, 100, "randomlittle");
  Body& body = a.At(rock);
  for (int k = 1; k < kBodyPoints; ++k) {
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

}  // namespace
}  // namespace starvane
