// Turning and drifting bodies, the wrapping world, and the visibility flags that decide which
// bodies turn.

#include <gtest/gtest.h>

#include "combat/visibility.hpp"
#include "life/body_motion.hpp"
#include "tests/support/harness.hpp"
#include "world/adders.hpp"
#include "world/create_body.hpp"
#include "world/kinds.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;

// A body near the screen whose point 1 lies 10 units straight up from its centre at (cx, cy).
Body& PointerBody(Harness& t, float spin, float cx = 0, float cy = 0) {
  CreateBody(t.game, 0, 0, 0, 0, 0, "ship", 255, 255, 255);
  Body& body = t.game.Bodies.Current();
  body.Points[1] = Point{0, -10};
  body.Points[0] = Point{cx, cy};
  for (std::size_t i = 1; i < kBodyPoints; ++i) {
    body.Points[i] = i == 1 ? Point{cx, cy - 10} : body.Points[0];
  }
  body.Spin = spin;
  body.NearScreen = 1;
  return body;
}

TEST(RotateBodies, PositiveSpinTurnsClockwiseOnTheScreenByWholeDegrees) {
  Harness t;
  Body& body = PointerBody(t, 90);
  RotateBodies(t.game);
  // y points down: clockwise takes "up" to "right".
  EXPECT_NEAR(body.Points[1].X, 10.0f, 1e-5f);
  EXPECT_NEAR(body.Points[1].Y, 0.0f, 1e-5f);
  body.Spin = -90;
  RotateBodies(t.game);
  EXPECT_NEAR(body.Points[1].X, 0.0f, 1e-5f);
  EXPECT_NEAR(body.Points[1].Y, -10.0f, 1e-5f);
}

TEST(RotateBodies, TheTurnedOffsetIsRoundedBeforeTheCentreIsAdded) {
  // Far from the origin the order matters: adding the centre first would give -3009.69336.
  Harness t;
  Body& body = PointerBody(t, 3, -3000, -3000);
  body.Points[1] = Point{-3010, -3005.6f};
  RotateBodies(t.game);
  EXPECT_EQ(body.Points[1].X, -3009.69312f);
  EXPECT_EQ(body.Points[1].Y, -3006.11572f);
}

TEST(RotateBodies, SpinIsRoundedHalvesToEven) {
  // 2.5 turns like 2 and 3.5 like 4; -2.5 like -2; 0.4 turns by nothing.
  const std::pair<float, float> cases[] = {{2.5f, 2}, {3.5f, 4}, {-2.5f, -2}, {0.4f, 0}};
  for (const auto& [spin, degrees] : cases) {
    Harness rounded;
    Body& a = PointerBody(rounded, spin);
    Harness whole;
    Body& b = PointerBody(whole, degrees == 0 ? 0.0f : degrees);
    RotateBodies(rounded.game);
    if (degrees != 0) RotateBodies(whole.game);
    EXPECT_NEAR(a.Points[1].X, b.Points[1].X, 1e-5f) << spin;
    EXPECT_NEAR(a.Points[1].Y, b.Points[1].Y, 1e-5f) << spin;
  }
}

TEST(RotateBodies, OnlyBodiesNearTheScreenTurnAndOnlyTheirOutline) {
  Harness t;
  Body& far = PointerBody(t, 45);
  far.NearScreen = 0;
  RotateBodies(t.game);
  EXPECT_EQ(far.Points[1].Y, -10.0f);

  // A body whose point 2 is already point 0 has only point 1 turned; point 3 (a stray point
  // behind the end of the outline) stays where it is.
  Body& body = PointerBody(t, 90, 5, 5);
  body.Points[3] = Point{100, 100};
  RotateBodies(t.game);
  EXPECT_NEAR(body.Points[1].X, 15.0f, 1e-5f);
  EXPECT_EQ(body.Points[2].X, 5.0f);
  EXPECT_EQ(body.Points[3].X, 100.0f);
  EXPECT_EQ(body.Points[0].X, 5.0f);
}

TEST(RotateBodies, AnOutlineThatNeverClosesIsTurnedUpToPointHundredOnly) {
  Harness t;
  Body& body = PointerBody(t, 90);
  for (std::size_t i = 1; i < kBodyPoints; ++i) body.Points[i] = Point{0, -static_cast<float>(i)};
  RotateBodies(t.game);  // AddressSanitizer reports any read past point 100
  EXPECT_NEAR(body.Points[100].X, 100.0f, 1e-3f);
  EXPECT_NEAR(body.Points[100].Y, 0.0f, 1e-3f);
}

TEST(MoveBodies, BodiesWrapRoundTheWorldAsOnePieceDecidedByTheirCentre) {
  Harness t;
  CreateBody(t.game, 9999, 0, 1, 0, 0, "random", 0, 0, 0);
  Body& edge = t.game.Bodies.Current();  // ends exactly on the edge: stays
  CreateBody(t.game, 10000, -10000, 0, 0, 0, "random", 0, 0, 0);
  Body& past = t.game.Bodies.Current();
  past.SpeedX = 0.5f;  // 10000.5 re-enters at -9999.5
  past.SpeedY = -1;    // and y wraps in the same frame
  const Body before = past;
  MoveBodies(t.game);
  EXPECT_EQ(edge.Points[0].X, 10000.0f);
  EXPECT_EQ(past.Points[0].X, -9999.5f);
  EXPECT_EQ(past.Points[0].Y, 9999.0f);
  for (std::size_t i = 0; i < kBodyPoints; ++i) {
    EXPECT_EQ(past.Points[i].X, before.Points[i].X + 0.5f - 20000.0f) << i;
    EXPECT_EQ(past.Points[i].Y, before.Points[i].Y - 1.0f + 20000.0f) << i;
  }
  EXPECT_EQ(past.Points[100].X, past.Points[0].X);  // the copies of point 0 stay copies
}

TEST(MoveBodies, AnySpeedIsBroughtBackIntoTheWorldWhileSparksAndShotsFlyOn) {
  Harness t;
  CreateBody(t.game, 0, 0, 0, 0, 0, "randomlittle", 0, 0, 0);
  Body& body = t.game.Bodies.Current();
  body.SpeedX = 1e7f;
  body.SpeedY = -65000;
  MoveBodies(t.game);
  EXPECT_LE(body.Points[0].X, 10000.0f);
  EXPECT_GT(body.Points[0].X, -10000.0f);
  EXPECT_EQ(body.Points[0].Y, 15000.0f - 20000.0f);
  EXPECT_EQ(body.Points[100].Y, body.Points[0].Y);

  AddSpark(t.game, 50000, 0, 1, 0, 2, 0, 255, 0, 0);
  AddShot(t.game, 0, -50000, 0, -10, 1, ShotStyle::Dot, 255, 0, 0);
  MoveBodies(t.game);
  EXPECT_EQ(t.game.Sparks.At(0).X, 50001.0f);
  EXPECT_EQ(t.game.Shots.At(0).Y, -50010.0f);
}

TEST(UpdateVisibility, FlagsFollowTheScreenAndFarFragmentsAreRemoved) {
  Harness t;
  t.game.ViewX = 400;  // the view centred on the origin
  t.game.ViewY = 300;
  // Radius 10 rocks: just on the screen at the left edge, just off it, and far but near.
  CreateBody(t.game, -409, 0, 0, 0, 0, "randomlittle", 0, 0, 0);
  CreateBody(t.game, -410, 0, 0, 0, 0, "randomlittle", 0, 0, 0);
  CreateBody(t.game, -809, 0, 0, 0, 0, "randomlittle", 0, 0, 0);
  CreateBody(t.game, -900, 0, 0, 0, 0, "randomlittle", 0, 0, 0);
  t.game.Bodies.Current().Kind = kKindFragment;
  CreateBody(t.game, -900, 0, 0, 0, 0, "randomlittle", 0, 0, 0);
  UpdateVisibility(t.game);
  ASSERT_EQ(t.game.Bodies.CountList(), 4);  // the far fragment is gone, the far rock stays
  EXPECT_EQ(t.game.Bodies.At(0).OnScreen, 1);
  EXPECT_EQ(t.game.Bodies.At(1).OnScreen, 0);
  EXPECT_EQ(t.game.Bodies.At(1).NearScreen, 1);
  EXPECT_EQ(t.game.Bodies.At(2).NearScreen, 1);
  EXPECT_EQ(t.game.Bodies.At(3).NearScreen, 0);
  EXPECT_EQ(t.game.Bodies.At(3).Kind, kKindRandomLittle);
  // The near area reaches 600 below the screen but 400 beyond its other edges.
  for (int y : {909, 910, -709, -710}) CreateBody(t.game, 0, y, 0, 0, 0, "randomlittle", 0, 0, 0);
  UpdateVisibility(t.game);
  EXPECT_EQ(t.game.Bodies.At(4).NearScreen, 1);
  EXPECT_EQ(t.game.Bodies.At(5).NearScreen, 0);
  EXPECT_EQ(t.game.Bodies.At(6).NearScreen, 1);
  EXPECT_EQ(t.game.Bodies.At(7).NearScreen, 0);
}

TEST(UpdateVisibility, RemovingTheFirstBodySkipsNoneBehindIt) {
  Harness t;
  for (int i = 0; i < 3; ++i) {
    CreateBody(t.game, 5000, 5000, 0, 0, 0, "randomlittle", 0, 0, 0);
    t.game.Bodies.Current().Kind = kKindFragment;
  }
  UpdateVisibility(t.game);
  EXPECT_EQ(t.game.Bodies.CountList(), 0);
}

}  // namespace
}  // namespace starvane
