#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/bit_cast.hpp"
#include "tests/support/harness.hpp"
#include "world/adders.hpp"
#include "world/body_geometry.hpp"
#include "world/create_body.hpp"
#include "world/degree_factors.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;

TEST(Adders, ShotTakesItsDamageBeforeItsStyle) {
  Harness t;
  AddShot(t.game, 10, -20, 3, -4, 5, ShotStyle::Streak, 255, 0, 0);
  const Shot& shot = t.game.Shots.Current();
  EXPECT_EQ(shot.X, 10.0f);
  EXPECT_EQ(shot.SpeedY, -4.0f);
  EXPECT_EQ(shot.Damage, 5);
  EXPECT_EQ(shot.Style, ShotStyle::Streak);
  EXPECT_EQ(shot.Red, 255);
  EXPECT_EQ(shot.Blue, 0);
}

TEST(Adders, EachFillsItsRecordInArgumentOrder) {
  Harness t;
  AddSpark(t.game, 1, 2, 0.5f, -0.25f, 3, 0, 70000, 20, 30);
  const Spark& spark = t.game.Sparks.Current();
  EXPECT_EQ(spark.SpeedX, 0.5f);
  EXPECT_EQ(spark.Size, 3);
  EXPECT_EQ(spark.Red, 4464);  // a 16-bit field keeps the low 16 bits
  AddButton(t.game, 5, 6, 7, 8, 1);
  EXPECT_EQ(t.game.Buttons.Current().Height, 8);
  AddBigStar(t.game, -10000, 10000);
  AddSmallStar(t.game, 20000, -10000);
  EXPECT_EQ(t.game.BigStars.Current().Y, 10000.0f);
  EXPECT_EQ(t.game.SmallStars.Current().X, 20000.0f);
}

TEST(SetRotation, GivesBothPairsOfFactors) {
  const Rotation none = SetRotation(0);
  EXPECT_EQ(none.CosA, 1.0f);
  EXPECT_EQ(none.CosNegA, 1.0f);
  EXPECT_EQ(none.SinA, 0.0f);
  EXPECT_EQ(none.SinNegA, 0.0f);
  const Rotation quarter = SetRotation(90);
  EXPECT_NEAR(quarter.SinA, 1.0f, 1e-6f);
  EXPECT_EQ(quarter.SinNegA, -quarter.SinA);
  EXPECT_EQ(SetRotation(-90).SinNegA, quarter.SinA);  // a negative angle swaps the pairs
}

TEST(SetRotation, TheNegativePairTurnsClockwiseOnTheScreen) {
  const Rotation quarter = SetRotation(90);
  // y points down: clockwise on the screen takes "right" to "down".
  const Point turned = TurnAbout({10, 0}, {0, 0}, quarter.CosNegA, quarter.SinNegA);
  EXPECT_NEAR(turned.X, 0.0f, 1e-5f);
  EXPECT_NEAR(turned.Y, 10.0f, 1e-5f);
  const Point back = TurnAbout(turned, {0, 0}, quarter.CosA, quarter.SinA);
  EXPECT_NEAR(back.X, 10.0f, 1e-5f);
  EXPECT_NEAR(back.Y, 0.0f, 1e-5f);
}

TEST(SetRotation, GivesTheNearestFloatsToTheExactFactorsForEveryWholeAngle) {
  // Worked out here in long double: the factors must not depend on the maths library's float
  // cosine, which differs between machines by a float step.
  for (int angle = -360; angle <= 360; ++angle) {
    const Rotation rotation = SetRotation(angle);
    const long double turn = angle * 2.0L * static_cast<long double>(kPi) / 360.0L;
    EXPECT_EQ(rotation.CosA, static_cast<float>(std::cos(turn))) << angle;
    EXPECT_EQ(rotation.SinA, static_cast<float>(std::sin(turn))) << angle;
    EXPECT_EQ(rotation.SinNegA, static_cast<float>(std::sin(-turn))) << angle;
  }
}

// The table holds, for every whole angle of a turn, exactly the floats the double-precision
// formula gives with this machine's maths library; the browser build reads the same table.
TEST(SetRotation, TheTableHoldsTheDoubleFormulasFloats) {
  for (int angle = 0; angle <= kWholeTurnDegrees; ++angle) {
    const double turn = static_cast<double>(angle) * 2.0 * static_cast<double>(kPi) / 360.0;
    const DegreeFactor factor = kDegreeFactors[static_cast<std::size_t>(angle)];
    EXPECT_EQ(BitCast<std::uint32_t>(factor.Cos),
              BitCast<std::uint32_t>(static_cast<float>(std::cos(turn))))
        << angle;
    EXPECT_EQ(BitCast<std::uint32_t>(factor.Sin),
              BitCast<std::uint32_t>(static_cast<float>(std::sin(turn))))
        << angle;
  }
}

// Beyond a whole turn an angle counts from the turn below it, in integers, so no angle (not even
// the extremes of the type) reads outside the table or meets a maths library.
TEST(SetRotation, AnglesBeyondAWholeTurnCountFromTheTurnBelow) {
  for (const int angle : {1, 45, 90, 359}) {
    const Rotation small = SetRotation(angle);
    const Rotation large = SetRotation(angle + 3 * kWholeTurnDegrees);
    EXPECT_EQ(large.CosA, small.CosA) << angle;
    EXPECT_EQ(large.SinA, small.SinA) << angle;
    EXPECT_EQ(SetRotation(-angle - kWholeTurnDegrees).SinA, -small.SinA) << angle;
  }
  const Rotation lowest = SetRotation(std::numeric_limits<std::int32_t>::min());
  const Rotation highest = SetRotation(std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(lowest.SinA, -SetRotation(static_cast<std::int32_t>(2147483648LL % 360)).SinA);
  EXPECT_EQ(highest.CosA, SetRotation(2147483647 % 360).CosA);
}

// The game's Pi is the float nearest to pi, a hair above it, and the factors are those of that
// float: a half turn leaves a sine of about -8.74e-8 rather than almost nothing, and two whole
// angles in three turn by other floats than the exact pi would give.
TEST(SetRotation, TurnsWithTheFloatPi) {
  static_assert(kPi == 3.1415927f);
  EXPECT_EQ(SetRotation(180).SinA, -0x1.777a5cp-24f);
  EXPECT_EQ(SetRotation(1).SinA, 0x1.1df0b4p-6f);
  int differing = 0;
  for (int angle = 1; angle < 360; ++angle) {
    const long double exact = angle * 2.0L * 3.14159265358979323846264L / 360.0L;
    if (SetRotation(angle).SinA != static_cast<float>(std::sin(exact))) ++differing;
  }
  EXPECT_GT(differing, 200);
}

TEST(MoveBodyTo, KeepsTheShapeAndEveryCopyOfPointZero) {
  Harness t;
  CreateBody(t.game, 100, 200, 3, 4, 5, "ship", 1, 2, 3);
  const Body before = t.game.Bodies.Current();
  MoveBodyTo(t.game, 100, 200);  // onto itself: nothing changes
  const Body& body = t.game.Bodies.Current();
  for (std::size_t i = 0; i < kBodyPoints; ++i) {
    EXPECT_EQ(body.Points[i].X, before.Points[i].X);
    EXPECT_EQ(body.Points[i].Y, before.Points[i].Y);
  }
  MoveBodyTo(t.game, -9000, 7000);
  EXPECT_EQ(body.Points[0].X, -9000.0f);
  EXPECT_EQ(body.Points[0].Y, 7000.0f);
  for (std::size_t i = 1; i < kBodyPoints; ++i) {
    EXPECT_EQ(body.Points[i].X - body.Points[0].X, before.Points[i].X - before.Points[0].X);
    EXPECT_EQ(body.Points[i].Y - body.Points[0].Y, before.Points[i].Y - before.Points[0].Y);
  }
  EXPECT_EQ(body.SpeedX, 3.0f);
  EXPECT_EQ(body.Spin, 5.0f);
}

TEST(MoveBodyTo, WithoutACurrentBodyDoesNothing) {
  Harness t;
  MoveBodyTo(t.game, 1, 2);
  EXPECT_EQ(t.game.Bodies.CountList(), 0);
}

}  // namespace
}  // namespace starvane
