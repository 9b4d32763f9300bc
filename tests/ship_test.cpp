// The player's ship: its upkeep, its equipment, its rebuild at the home planet and the keys.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "app/frame_loop.hpp"
#include "base/random.hpp"
#include "life/controls.hpp"
#include "life/ship_rebuild.hpp"
#include "life/ship_upkeep.hpp"
#include "media/keys.hpp"
#include "tests/support/harness.hpp"
#include "world/body_geometry.hpp"
#include "world/kinds.hpp"
#include "world/money.hpp"
#include "world/world_generation.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;
using starvane::testing::World;

// A generated world flown with keys the test holds down.
Harness Flight(float difficulty = 1) {
  return Harness({.held_keys = true,
                  .seed = 5,
                  .difficulty = difficulty,
                  .world = World::Generated,
                  .arm = true});
}

TEST(ShipUpkeep, QueuedZeroMeansNoChangeAndEveryQueuedValueIsTakenOnce) {
  Harness f = Flight();
  Game& g = f.game;
  f.Ship().SpeedX = 2;
  g.ShipOverride.SpeedX = -0.0f;  // -0.0 is "no change" as well
  g.ShipOverride.SpeedY = 3;
  g.ShipOverride.Points[0].X = 0.0f;
  g.ShipOverride.Points[1].Y = 77;
  g.ShipOverride.Life = 40;
  ShipUpkeep(g);
  EXPECT_EQ(f.Ship().SpeedX, 2.0f);
  EXPECT_EQ(f.Ship().SpeedY, 3.0f);
  EXPECT_EQ(f.Ship().Points[1].Y, 77.0f);
  EXPECT_EQ(g.Life.Value, 40.0f);
  EXPECT_EQ(f.Ship().Life, 40.0f);
  EXPECT_EQ(g.ShipSpeed, std::sqrt(13.0f));
  EXPECT_EQ(g.ShipOverride.SpeedY, 0.0f);
  EXPECT_EQ(g.ShipOverride.Life, 0.0f);
  EXPECT_EQ(g.ShipOverride.Points[1].Y, 0.0f);
  // The view centres the ship; the shield and turret ride on it.
  EXPECT_EQ(g.ViewX, 400 - f.Ship().Points[0].X);
  EXPECT_EQ(g.Bodies.At(kShieldIndex).Points[0].X, g.ShipX);
  EXPECT_EQ(g.Bodies.At(kTurretIndex).Points[0].Y, g.ShipY);
}

TEST(ShipUpkeep, ANonFiniteQueuedSpeedIsNeverApplied) {
  Harness f = Flight();
  f.Ship().SpeedX = 1;
  f.game.ShipOverride.SpeedX = std::numeric_limits<float>::quiet_NaN();
  f.game.ShipOverride.SpeedY = std::numeric_limits<float>::infinity();
  ShipUpkeep(f.game);
  EXPECT_EQ(f.Ship().SpeedX, 1.0f);
  EXPECT_EQ(f.Ship().SpeedY, 0.0f);
  EXPECT_EQ(f.game.ShipOverride.SpeedX, 0.0f);
}

TEST(ShipUpkeep, ADeadShipRespawnsAtTheHomePlanetForAPriceAtEveryDifficulty) {
  const std::pair<float, int> penalties[] = {
      {0.2f, 200}, {1, 1000}, {10, 10000}, {70, 70000}, {150, 150000}};
  for (const auto& [difficulty, penalty] : penalties) {
    Harness f = Flight(difficulty);
    Game& g = f.game;
    g.Money = 200000;
    f.Ship().SpeedX = 4;
    g.ShipOverride.Life = -1.0f;  // a lethal hit queued by a collision
    ShipUpkeep(g);
    EXPECT_EQ(g.Money, 200000 - penalty) << difficulty;
    EXPECT_EQ(g.Life.Value, 50.0f);
    EXPECT_EQ(f.Ship().Points[0].X, -3000.0f);
    EXPECT_EQ(f.Ship().Points[0].Y, -3420.0f);
    EXPECT_EQ(g.ShipSpeed, 0.0f);       // at rest in the same frame
    EXPECT_EQ(g.ViewY, 300 + 3420.0f);  // and the view already on it
    EXPECT_EQ(g.BackRed, 100);          // the grey flash
  }
  // Money never goes below 0, and a life of exactly 0 is dead.
  Harness poor = Flight(150);
  poor.game.Money = 300;
  poor.game.Life.Value = 0;
  ShipUpkeep(poor.game);
  EXPECT_EQ(poor.game.Money, 0);
  EXPECT_EQ(poor.Ship().Points[0].X, -3000.0f);
}

TEST(ShipUpkeep, FrameTickAndTockCountElevenStepsAndTheChargeDrains) {
  Harness f = Flight();
  Game& g = f.game;
  g.TeleportCharge = 2;
  for (int frame = 1; frame <= 11 * 11; ++frame) {
    ShipUpkeep(g);
    EXPECT_EQ(g.FrameTick, frame % 11);
    EXPECT_EQ(g.FrameTock, (frame / 11) % 11);
  }
  EXPECT_EQ(g.TeleportCharge, 0);
}

TEST(AddMoney, NeverWrapsRoundNorGoesBelowNothing) {
  EXPECT_EQ(AddMoney(2147483000, 150000), 2147483647);
  EXPECT_EQ(AddMoney(2147483647, INT64_MAX), 2147483647);
  EXPECT_EQ(AddMoney(100, -150000), 0);
  EXPECT_EQ(AddMoney(0, INT64_MIN), 0);
  EXPECT_EQ(AddMoney(-5, 10), 5);  // money read as negative from anywhere is lifted as well
}

TEST(UpdateEquipment, EnergyPaysForTheSwitchesWhichFallOffWhenItRunsOut) {
  Harness f = Flight();
  Game& g = f.game;
  // Shield on with 0.5 left: -0.5 is set to 0, the shield goes off, regeneration gives 0.1.
  g.Bodies.At(kShieldIndex).Kind = kKindShield;
  g.Energie.Value = 0.5f;
  UpdateEquipment(g);
  EXPECT_EQ(g.Bodies.At(kShieldIndex).Kind, kKindNone);
  EXPECT_EQ(g.Energie.Value, 0.1f);
  // Shock on with 0.3: overdrawn, off, and the clamp leaves 0.
  g.Shock.Active = 1;
  g.Energie.Value = 0.3f;
  UpdateEquipment(g);
  EXPECT_EQ(g.Shock.Active, 0);
  EXPECT_EQ(g.Energie.Value, 0.0f);
  // The home planet in sight doubles the regeneration of energy and life, up to their ceilings.
  g.HomePlanetOnScreen = 1;
  g.Energie.Value = 100;
  g.Life.Value = 99.995f;
  UpdateEquipment(g);
  EXPECT_EQ(g.Energie.Value, 100 + 0.1f + 0.1f);
  EXPECT_EQ(g.Life.Value, 100.0f);
}

TEST(UpdateEquipment, TheReloadCounterStopsAtThePeriod) {
  Harness f = Flight();
  Game& g = f.game;
  g.ActiveWeapon.Value = 1.5f;
  UpdateEquipment(g);
  EXPECT_EQ(g.ActiveWeapon.Value, 2.0f);
}

TEST(RebuildShip, PutsTheShipHomeAtRestWithItsRecipesOutline) {
  Harness f = Flight();
  Game& g = f.game;
  f.Ship().Spin = 3;
  f.Ship().SpeedY = 8;
  g.Bodies.SelectElement(kShipIndex);
  MoveBodyTo(g, 500, 500);
  f.game.Bodies.At(kShipIndex).Points[2] = Point{510, 500};  // nose turned to the right
  g.ShipOverride.Points[0].X = 700;                          // a bump queued earlier this frame
  g.ShipOverride.SpeedX = 30;
  g.ShipOverride.Life = 12;
  RebuildShip(g, kRespawnX, kRespawnY);
  EXPECT_EQ(f.Ship().Points[2].X, -3000.0f);  // nose straight up again
  EXPECT_EQ(f.Ship().Points[2].Y, -3430.0f);
  EXPECT_EQ(f.Ship().Points[7].X, -3000.0f);
  EXPECT_EQ(f.Ship().SpeedY, 0.0f);
  EXPECT_EQ(f.Ship().Spin, 3.0f);  // a held turn key goes on turning it
  // Nothing queued can pull the ship back where it was; its queued life stays.
  EXPECT_EQ(g.ShipOverride.Points[0].X, 0.0f);
  EXPECT_EQ(g.ShipOverride.SpeedX, 0.0f);
  EXPECT_EQ(g.ShipOverride.Life, 12.0f);
  // The turret is rebuilt where it is: its muzzle 10 units up.
  const Body& turret = g.Bodies.At(kTurretIndex);
  EXPECT_EQ(turret.Points[2].Y, turret.Points[0].Y - 10);
  EXPECT_EQ(g.Bodies.ListIndex(), kTurretIndex + 1);
}

TEST(HandleControls, TurningThrustAndBrakeInOneFrame) {
  Harness f = Flight();
  Game& g = f.game;
  f.Hold(kKeyLeft);
  f.Hold(kKeyRight);
  f.Hold(kKeyUp);
  f.Hold(kKeyDown);
  const std::int32_t sparks = g.Sparks.CountList();
  f.Controls();
  EXPECT_EQ(f.Ship().Spin, -3.0f);  // left wins
  // Thrust adds a 200th of the 10-unit nose, then the brake takes 3 % of the new speed.
  EXPECT_EQ(f.Ship().SpeedY, -10.0f / 200 / 100 * 97);
  EXPECT_EQ(g.Sparks.CountList(), sparks + 2);
  // With the boost on, thrust is stronger by the boost's multiplier.
  f.Hold(kKeyDown, false);
  f.Ship().SpeedY = 0;
  g.Boost.Active = 1;
  f.Controls();
  EXPECT_EQ(f.Ship().SpeedY, -10.0f / 200 * 1.5f);
  // Without life the ship cannot thrust.
  g.Life.Value = 0;
  f.Controls();
  EXPECT_EQ(f.Ship().SpeedY, -10.0f / 200 * 1.5f);
}

TEST(HandleControls, TheWeaponFiresOnlyWhenItsCounterEqualsThePeriod) {
  Harness f = Flight();
  f.Hold(kKeySpace);
  f.RunFrames(10);
  // Weapon 1 (period 2) fires every second frame: the first frame reloads, then it fires.
  EXPECT_EQ(f.game.Shots.CountList(), 5);
  const Shot& shot = f.game.Shots.At(0);
  EXPECT_EQ(shot.Style, ShotStyle::Dot);
  EXPECT_EQ(shot.Damage, 1);
  EXPECT_LE(std::abs(shot.SpeedX), 1.0f);  // the barrel points up; weapon 1 scatters by 1
}

TEST(HandleControls, SwitchingWeaponsKeepsTheCounter) {
  Harness f = Flight();
  Game& g = f.game;
  g.ActiveWeapon.Value = 2;
  f.Hold(kKey3);
  f.Controls();
  f.Hold(kKey3, false);
  f.Controls();  // released: weapon 3 from now on
  EXPECT_EQ(g.SelectedWeapon, 3);
  EXPECT_EQ(g.ActiveWeapon.Max, 200.0f);
  EXPECT_EQ(g.ActiveWeapon.Value, 2.0f);
  g.ActiveWeapon.Value = 200;
  f.Hold(kKeySpace);
  f.Controls();
  EXPECT_EQ(g.Shots.CountList(), 1);
  EXPECT_EQ(g.Shots.At(0).Style, ShotStyle::Ball);
  EXPECT_EQ(g.ActiveWeapon.Value, 0.0f);
}

TEST(HandleControls, SwitchesActOnReleaseAndTheShieldNeedsEnergy) {
  Harness f = Flight();
  Game& g = f.game;
  for (int key : {kKeyLeftControl, kKeyS, kKeyB, kKeyC}) f.Hold(key);
  f.Controls();
  EXPECT_EQ(g.Bodies.At(kShieldIndex).Kind, kKindNone);  // nothing yet: the keys are down
  for (int key : {kKeyLeftControl, kKeyS, kKeyB, kKeyC}) f.Hold(key, false);
  f.Controls();
  EXPECT_EQ(g.Bodies.At(kShieldIndex).Kind, kKindShield);
  EXPECT_EQ(g.Shock.Active, 1);
  EXPECT_EQ(g.Boost.Active, 1);
  EXPECT_EQ(g.StatsOpen, 1);
  // With 5 energy or less the key leaves the shield off, and always turns it off.
  g.Energie.Value = 5;
  f.Hold(kKeyLeftControl);
  f.Controls();
  f.Hold(kKeyLeftControl, false);
  f.Controls();
  EXPECT_EQ(g.Bodies.At(kShieldIndex).Kind, kKindNone);
  f.Hold(kKeyLeftControl);
  f.Controls();
  f.Hold(kKeyLeftControl, false);
  f.Controls();
  EXPECT_EQ(g.Bodies.At(kShieldIndex).Kind, kKindNone);
  // A release while dead still counts as taken: it does not act later.
  g.Life.Value = 0;
  g.Energie.Value = 300;
  f.Hold(kKeyLeftControl);
  f.Controls();
  f.Hold(kKeyLeftControl, false);
  f.Controls();
  g.Life.Value = 50;
  f.Controls();
  EXPECT_EQ(g.Bodies.At(kShieldIndex).Kind, kKindNone);
}

TEST(HandleControls, HoldingTTeleportsHomeAfterNinetyNineFrames) {
  Harness f = Flight();
  Game& g = f.game;
  g.Bodies.SelectElement(kShipIndex);
  MoveBodyTo(g, 1000, 1000);
  f.Hold(kKeyT);
  f.RunFrames(98);
  EXPECT_EQ(f.Ship().Points[0].X, 1000.0f);
  EXPECT_EQ(g.TeleportCharge, 99);  // the upkeep takes 1 back every frame
  f.RunFrames(1);
  EXPECT_EQ(f.Ship().Points[0].X, -3000.0f);
  EXPECT_EQ(f.Ship().Points[0].Y, -3420.0f);
  EXPECT_EQ(g.TeleportCharge, 0);
  // 2 a frame, less the regeneration (lost in the first frame, when the energy was full).
  EXPECT_NEAR(g.Energie.Value, 300 - 99 * 2 + 98 * 0.1f, 0.01f);
  // Letting go lets the charge drain away; without energy T neither charges nor costs.
  f.Hold(kKeyT, false);
  g.TeleportCharge = 60;
  f.RunFrames(60);
  EXPECT_EQ(g.TeleportCharge, 0);
  g.Energie.Value = 0;
  g.Energie.Refreshrate = 0;
  f.Hold(kKeyT);
  f.RunFrames(5);
  EXPECT_EQ(g.TeleportCharge, 0);
  EXPECT_EQ(g.Energie.Value, 0.0f);
}

TEST(HandleControls, TheDashTimesTheSpeedByTenWithinTheWorld) {
  Harness f = Flight();
  Game& g = f.game;
  f.Ship().SpeedX = 3;
  ShipUpkeep(g);
  f.Hold(kKeyReturn);
  f.Controls();
  f.Hold(kKeyReturn, false);
  f.Controls();
  EXPECT_EQ(g.ShipOverride.SpeedX, 30.0f);
  EXPECT_EQ(g.ShipOverride.SpeedY, 0.0f);  // 0 queues nothing
  ShipUpkeep(g);
  EXPECT_EQ(f.Ship().SpeedX, 30.0f);
  // However often Return is pressed, no speed goes beyond twice the world's half-width.
  for (int dash = 0; dash < 50; ++dash) {
    f.Hold(kKeyReturn);
    f.Controls();
    f.Hold(kKeyReturn, false);
    f.Controls();
    ShipUpkeep(g);
  }
  EXPECT_EQ(f.Ship().SpeedX, 20000.0f);
  f.RunFrames(3);
  EXPECT_TRUE(std::isfinite(f.Ship().Points[0].X));
  EXPECT_LE(std::abs(f.Ship().Points[0].X), 10000.0f);
}

// A boost edited to 1e38 would fling the ship beyond every float in a frame or two: thrust keeps
// each speed within twice the world's half-extent, as the dash does, so that the view and the
// outline stay numbers.
// The exhaust spark's random values are drawn from its last argument to its first: with the
// boost its green, then its red; then the y jitter of its speed, then the x one.
TEST(HandleControls, TheExhaustSparkDrawsColourThenYThenXJitter) {
  Harness f = Flight();
  Game& g = f.game;
  f.Hold(kKeyUp);
  bool told_apart = false;  // the x and y jitters differed at least once, so their order shows
  for (const std::int16_t boost : {0, 1}) {
    g.Boost.Active = boost;
    for (int frame = 0; frame < 6; ++frame) {
      RandomGenerator draws = g.Rng;
      const int green = boost == 1 ? Random(draws, 205) : 100;
      const int red = boost == 1 ? 200 + Random(draws, 55) : 255;
      const int jitter_y = Random(draws, 2);
      const int jitter_x = Random(draws, 2);
      told_apart = told_apart || jitter_x != jitter_y;
      f.Controls();
      const Body& ship = f.Ship();
      const float nose_x = ship.Points[2].X - ship.Points[0].X;
      const float nose_y = ship.Points[2].Y - ship.Points[0].Y;
      const Spark& spark = g.Sparks.Current();
      EXPECT_EQ(spark.Green, green);
      EXPECT_EQ(spark.Red, red);
      EXPECT_NEAR(spark.SpeedX, -nose_x / 3 + jitter_x + ship.SpeedX - 1, 1e-3);
      EXPECT_NEAR(spark.SpeedY, -nose_y / 3 + jitter_y + ship.SpeedY - 1, 1e-3);
    }
  }
  EXPECT_TRUE(told_apart);
}

TEST(HandleControls, ThrustWithAnAbsurdBoostStaysWithinTheWorld) {
  Harness f = Flight();
  Game& g = f.game;
  g.Boost.Max = 1e38f;
  g.Boost.Active = 1;
  f.Hold(kKeyUp);
  f.Controls();
  EXPECT_EQ(f.Ship().SpeedY, -20000.0f);
  EXPECT_EQ(f.Ship().SpeedX, 0.0f);
  f.RunFrames(20);
  EXPECT_LE(std::abs(f.Ship().SpeedX), 20000.0f);
  EXPECT_LE(std::abs(f.Ship().SpeedY), 20000.0f);
  EXPECT_TRUE(std::isfinite(g.ViewX) && std::isfinite(g.ViewY));
  for (const Point& point : f.Ship().Points) {
    ASSERT_TRUE(std::isfinite(point.X) && std::isfinite(point.Y));
  }
  EXPECT_NE(f.Ship().Points[1].X, f.Ship().Points[3].X) << "the outline keeps its shape";
}

TEST(HandleControls, NoDashInTheFrameThatTeleported) {
  Harness f = Flight();
  Game& g = f.game;
  f.Ship().SpeedX = 5;
  ShipUpkeep(g);
  g.TeleportCharge = 98;
  f.Hold(kKeyReturn);
  f.Controls();
  f.Hold(kKeyReturn, false);
  f.Hold(kKeyT);
  f.Controls();
  EXPECT_EQ(f.Ship().Points[0].X, -3000.0f);
  EXPECT_EQ(g.ShipOverride.SpeedX, 0.0f);
  ShipUpkeep(g);
  EXPECT_EQ(f.Ship().SpeedX, 0.0f);
}

}  // namespace
}  // namespace starvane
