// The soak's invariant check: silent on a game as it is made, and speaking up for each kind of
// damage it exists to find.

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "soak/invariants.hpp"
#include "tests/support/harness.hpp"
#include "world/adders.hpp"
#include "world/kinds.hpp"
#include "world/world_generation.hpp"

namespace starvane {
namespace {

using soak::BrokenInvariant;

testing::Harness GeneratedGame() {
  return testing::Harness({.world = testing::World::Generated});
}

TEST(SoakInvariants, HoldForAFreshWorld) {
  testing::Harness t = GeneratedGame();
  EXPECT_EQ(BrokenInvariant(t.game), "");
}

TEST(SoakInvariants, NameEachBrokenRule) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  {
    testing::Harness t = GeneratedGame();
    t.game.Bodies.At(kHomePlanetIndex).Kind = kKindEnemie;
    EXPECT_EQ(BrokenInvariant(t.game), "body 2 is not the home planet");
  }
  {
    testing::Harness t = GeneratedGame();
    t.game.Bodies.At(kShieldIndex).Kind = kKindNone;  // the shield switched off is fine
    EXPECT_EQ(BrokenInvariant(t.game), "");
    t.game.Bodies.At(kTurretIndex).Kind = kKindShip;
    EXPECT_EQ(BrokenInvariant(t.game), "body 3 is not the turret");
  }
  {
    testing::Harness t = GeneratedGame();
    Body& rock = t.game.Bodies.At(10);
    rock.Points[99].X += 1;  // a stray point behind the outline's end
    EXPECT_NE(BrokenInvariant(t.game).find("body 10"), std::string::npos);
    EXPECT_NE(BrokenInvariant(t.game).find("after the outline's end"), std::string::npos);
  }
  {
    testing::Harness t = GeneratedGame();
    t.game.Bodies.At(0).Points[3].Y = nan;
    EXPECT_NE(BrokenInvariant(t.game).find("not a finite number"), std::string::npos);
  }
  {
    testing::Harness t = GeneratedGame();
    t.game.Money = -1;
    EXPECT_EQ(BrokenInvariant(t.game), "money below 0");
  }
  {
    testing::Harness t = GeneratedGame();
    AddShot(t.game, 0, 0, 0, 0, 1, ShotStyle::Streak, 255, 0, 0);
    t.game.Shots.At(0).SpeedX = std::numeric_limits<float>::infinity();
    EXPECT_EQ(BrokenInvariant(t.game), "shot 0 is not at a finite place or speed");
  }
  {
    testing::Harness t = GeneratedGame();
    t.game.Weapon2.Damage = nan;
    EXPECT_EQ(BrokenInvariant(t.game), "an equipment figure is not a finite number");
  }
}

}  // namespace
}  // namespace starvane
