// The shock, destruction with its rewards, and what destroyed bodies leave behind.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "combat/shock_and_destroy.hpp"
#include "tests/support/arena.hpp"
#include "world/contact_geometry.hpp"
#include "world/money.hpp"

namespace starvane {
namespace {

using starvane::testing::Arena;

std::vector<std::int16_t> KindsFrom(Arena& a, std::int64_t first) {
  std::vector<std::int16_t> kinds;
  for (std::int64_t i = first; i < a.game.Bodies.CountList(); ++i) kinds.push_back(a.At(i).Kind);
  return kinds;
}

TEST(Shock, StrikesBodiesWithinItsRangeButNeverTheTurret) {
  Arena a;
  a.game.Shock = Equipment{1, 0, 0, -0.5f, 0.25f, 100};
  const std::int64_t in_range = a.Add(100, 0, "randombig");
  const std::int64_t beyond = a.Add(0, 0, "randombig");
  a.At(beyond).Points[0].Y = 100.5f;
  ShockAndDestroy(a.game);
  EXPECT_EQ(a.At(in_range).Life, 20 - 0.25f);
  EXPECT_EQ(a.At(beyond).Life, 20.0f);
  EXPECT_EQ(a.At(kTurretIndex).Life, a.At(kTurretIndex).LifeMax);
}

TEST(Destruction, ABigRockBreaksDownIntoTwoThenFourThenFragmentsAndPays11) {
  Arena a;
  const std::int64_t rock = a.Add(500, 600, "randombig");
  a.At(rock).Life = 0.5f;
  a.game.Shock = Equipment{1, 0, 0, -0.5f, 1, 1000};  // finishes it off in the same frame
  ShockAndDestroy(a.game);
  a.game.Shock.Active = 0;
  EXPECT_EQ(a.game.Money, 3);
  ASSERT_EQ(KindsFrom(a, rock), (std::vector<std::int16_t>{kKindRandom, kKindRandom}));
  for (std::int64_t i = rock; i < rock + 2; ++i) {
    EXPECT_EQ(a.At(i).Points[0].X, 500.0f);
    EXPECT_LE(std::abs(a.At(i).SpeedX), 1.0f);
    EXPECT_EQ(a.At(i).Red, 10) << "in the rock's colour";
  }

  for (int round = 0; round < 2; ++round) {
    for (std::int64_t i = rock; i < a.game.Bodies.CountList(); ++i) a.At(i).Life = 0;
    ShockAndDestroy(a.game);
  }
  EXPECT_EQ(a.game.Money, 3 + 2 * 2 + 4 * 1);
  EXPECT_EQ(KindsFrom(a, rock), std::vector<std::int16_t>(8, kKindFragment));

  // Fragments pay nothing and leave nothing but sparks.
  for (std::int64_t i = rock; i < a.game.Bodies.CountList(); ++i) a.At(i).Life = 0;
  const std::int32_t sparks = a.game.Sparks.CountList();
  ShockAndDestroy(a.game);
  EXPECT_EQ(a.game.Money, 11);
  EXPECT_EQ(a.game.Bodies.CountList(), rock);
  EXPECT_EQ(a.game.Sparks.CountList(), sparks + 8 * 10);
}

TEST(Destruction, TheThirdKindLeavesThreeOfTheFourthAndTwoFragmentsVisitedInTheSameWalk) {
  Arena a(10);
  const std::int64_t enemy = a.Add(50, 50, "enemie3");
  a.Add(60, 60, "random");
  a.At(enemy).Life = -1;
  ShockAndDestroy(a.game);
  EXPECT_EQ(a.game.Money, 4000);
  EXPECT_EQ(KindsFrom(a, enemy),
            (std::vector<std::int16_t>{kKindFragment, kKindFragment, kKindEnemie4, kKindEnemie4,
                                       kKindEnemie4, kKindRandom}));
  EXPECT_EQ(a.At(enemy + 2).Life, 10 * 10.0f) << "full life: not destroyed by the same walk";
  EXPECT_EQ(a.At(enemy).Life, 10 * 50 / 2.0f) << "fragments have half the life";
  EXPECT_EQ(a.At(enemy + 2).Red, 100);
  EXPECT_EQ(a.game.Bodies.ListIndex(), a.game.Bodies.CountList()) << "the walk ends on the last";
}

TEST(Destruction, RewardsFollowTheDifficultyAndMoneyStopsAtItsLimit) {
  struct Case {
    float difficulty;
    std::string_view kind;
    std::int32_t reward;
  };
  for (const Case& c : {Case{0.2f, "enemie", 20}, Case{0.2f, "glimmerhex", 2000},
                        Case{1, "enemie2", 500}, Case{70, "enemie4", 14000},
                        Case{150, "glimmerhex", 1500000}, Case{150, "randomlittle", 1}}) {
    Arena a(c.difficulty);
    a.At(a.Add(0, 500, c.kind)).Life = 0;
    ShockAndDestroy(a.game);
    EXPECT_EQ(a.game.Money, c.reward) << c.kind << " at " << c.difficulty;
  }
  Arena rich(150);
  rich.game.Money = kMostMoney - 10;
  rich.At(rich.Add(0, 500, "glimmerhex")).Life = 0;
  ShockAndDestroy(rich.game);
  EXPECT_EQ(rich.game.Money, kMostMoney) << "never wraps round to a negative sum";
}

TEST(SplitBody, TheTwoFragmentsShareTheFreshOutlineBetweenThem) {
  Arena a;
  const std::int64_t body = a.Add(0, 500, "enemie2");
  a.TurnBody(body, 1);                 // no outline point shares an axis with the centre now
  a.At(body).Points[8] = Point{0, 1};  // shares x: the outline counts as 7 points
  ASSERT_EQ(OutlineLength(a.game, body), 7);
  SplitBody(a.game, body);
  EXPECT_EQ(a.game.Bodies.ListIndex(), body + 1) << "the split body is current again";

  Arena fresh;
  const Body& shape = fresh.At(fresh.Add(0, 500, "enemie2"));
  const Body& second = a.At(body + 1);  // inserted in front of the first
  const Body& first = a.At(body + 2);
  for (std::size_t j = 1; j <= 3; ++j) {
    EXPECT_EQ(first.Points[j].X, shape.Points[j].X) << j;
    EXPECT_EQ(first.Points[j].Y, shape.Points[j].Y) << j;
  }
  EXPECT_EQ(first.Points[4].Y, first.Points[0].Y);
  EXPECT_EQ(second.Points[1].X, shape.Points[3].X) << "starts at point 3 of the fresh shape";
  EXPECT_EQ(second.Points[1].Y, shape.Points[3].Y);
  EXPECT_EQ(second.Points[8].Y, shape.Points[10].Y);
  EXPECT_EQ(second.Points[9].Y, second.Points[0].Y);
  EXPECT_EQ(first.Kind, kKindFragment);
  EXPECT_EQ(second.Life, shape.Life / 2);

  // An outline of one point or none: the first fragment is empty, the second not shifted.
  Arena flat;
  const std::int64_t enemy = flat.Add(0, 500, "enemie2");  // point 1 shares the centre's x
  ASSERT_EQ(OutlineLength(flat.game, enemy), 0);
  SplitBody(flat.game, enemy);
  EXPECT_EQ(flat.At(enemy + 1).Points[1].Y, shape.Points[1].Y);
  EXPECT_EQ(flat.At(enemy + 2).Points[1].X, flat.At(enemy + 2).Points[0].X);
}

}  // namespace
}  // namespace starvane
