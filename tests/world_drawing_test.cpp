#include "render/world_drawing.hpp"

#include <gtest/gtest.h>

#include <climits>

#include "tests/support/harness.hpp"
#include "world/adders.hpp"
#include "world/kinds.hpp"

namespace starvane {
namespace {

// The ship at (1000, 2000), the view centring it at pixel (400, 300), the screen black.
class WorldDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    game.ShipX = 1000;
    game.ShipY = 2000;
    game.ViewX = 400 - game.ShipX;
    game.ViewY = 300 - game.ShipY;
    screen.ClearScreen(0, 0, 0);
  }
  bool Lit(int x, int y) const { return screen.Pixel(x, y) != 0; }
  int LitCount() const {
    int count = 0;
    for (std::uint16_t p : screen.Pixels()) count += p != 0;
    return count;
  }
  // A body centred on the ship with the given outline offsets; the rest are copies of point 0.
  Body& AddBody(std::int16_t kind, std::initializer_list<Point> outline) {
    Body& body = game.Bodies.AddElement();
    body.Points.fill({game.ShipX, game.ShipY});
    std::size_t i = 1;
    for (Point p : outline) body.Points[i++] = {game.ShipX + p.X, game.ShipY + p.Y};
    body.Kind = kind;
    body.OnScreen = 1;
    body.Red = body.Green = body.Blue = 255;
    return body;
  }

  testing::Harness t;
  Game& game = t.game;
  Canvas& screen = game.media.Screen;
};

TEST_F(WorldDrawing, StarWindowsAreStrictAndSmallStarsLandOnEvenPixels) {
  AddBigStar(game, 600, 1800);  // exactly 400 left: not drawn
  DrawBigStars(game);
  EXPECT_EQ(LitCount(), 0);
  game.BigStars.Current().X = 600.5f;  // 399.5 left: drawn at pixel 0 (0.5 rounds to even)
  RandomGenerator expected = game.Rng;
  const int grey = Random(expected, 155) + 100;
  DrawBigStars(game);
  EXPECT_EQ(screen.Pixel(1, 101), ScreenColor(grey, grey, grey));
  EXPECT_EQ(LitCount(), 4);

  screen.ClearScreen(0, 0, 0);
  AddSmallStar(game, 1600, 2450);  // (+600, +450): plotted at (666, 500)
  AddSmallStar(game, 2200, 2000);  // exactly 1200 right: outside, and draws no grey
  expected = game.Rng;
  Random(expected, 155);
  DrawSmallStars(game);
  EXPECT_TRUE(Lit(666, 500));
  EXPECT_EQ(LitCount(), 1);
  EXPECT_EQ(game.Rng.Draw64(), expected.Draw64());
  EXPECT_EQ(game.SmallStars.ListIndex(), 2);  // the walk ends on the last star

  game.SmallStars.ClearList();
  AddSmallStar(game, 605, 2000);  // shaken 7 pixels left: screen x -2 truncates to 0
  game.ViewX -= 7;
  DrawSmallStars(game);
  EXPECT_TRUE(Lit(0, 200));
}

TEST_F(WorldDrawing, ThickLineHasThreeStrokesAndNeverOverflows) {
  screen.FrontColor(255, 255, 255);
  DrawThickLine(game, 5, 5, 5, 5);  // a dot: only the two shifted strokes show
  EXPECT_TRUE(Lit(6, 5));
  EXPECT_TRUE(Lit(5, 6));
  EXPECT_EQ(LitCount(), 2);
  DrawThickLine(game, INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  DrawThickLine(game, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
}

TEST_F(WorldDrawing, OutlineClosesOnItsFirstPointAndSkipsSwitchedOffBodies) {
  // Octagon 1-2-...-8-1 round the centre (400, 300); point 9 is the centre.
  AddBody(kKindRandomBig, {{40, -100},
                           {100, -40},
                           {100, 40},
                           {40, 100},
                           {-40, 100},
                           {-100, 40},
                           {-100, -40},
                           {-40, -100}});
  DrawBodyOutlines(game);
  EXPECT_TRUE(Lit(400, 200));   // the closing edge 8-1
  EXPECT_TRUE(Lit(470, 230));   // the diagonal edge 1-2
  EXPECT_FALSE(Lit(380, 250));  // no edge from point 8 to the centre
  EXPECT_FALSE(Lit(400, 300));

  screen.ClearScreen(0, 0, 0);
  game.BackBlue = 255;
  game.Bodies.Current().Kind = kKindNone;
  game.Bodies.Current().Radius = 30;
  DrawBodyDiscs(game);
  DrawBodyOutlines(game);
  EXPECT_EQ(screen.Pixel(400, 300), ScreenColor(0, 0, 255));  // the disc
  EXPECT_FALSE(Lit(400, 200));                                // but no outline
  game.Bodies.Current().OnScreen = 0;
  screen.ClearScreen(0, 0, 0);
  DrawBodyDiscs(game);
  EXPECT_EQ(LitCount(), 0);
}

TEST_F(WorldDrawing, OutlineThatNeverReturnsToTheCentreStopsAtPoint100) {
  Body& body = AddBody(kKindRandom, {});
  body.Points[0] = {game.ShipX, game.ShipY + 250};
  for (std::size_t i = 1; i < 100; ++i) {
    body.Points[i] = {game.ShipX - 300 + 6.0f * static_cast<float>(i), game.ShipY + 100};
  }
  body.Points[100] = {game.ShipX + 294, game.ShipY - 200};
  body.SpeedX = game.ShipX + 350;  // what a read past point 100 would take for point 101
  body.SpeedY = game.ShipY + 250;
  DrawBodyOutlines(game);
  EXPECT_TRUE(Lit(400, 250));  // closed from point 100 to point 1
  EXPECT_FALSE(Lit(722, 325));
}

TEST_F(WorldDrawing, EnemyLifeBarShowsTheLifeLeft) {
  Body& enemy = AddBody(kKindEnemie, {{5, 5}});
  enemy.Radius = 12;
  enemy.LifeMax = enemy.Life = 80;
  const std::uint16_t red = ScreenColor(255, 50, 50);
  const std::uint16_t grey = ScreenColor(50, 50, 50);
  DrawEnemyLifeBars(game);  // 10 pixels above the bounding square: row 300 - 12 - 10
  EXPECT_EQ(screen.Pixel(390, 278), red);
  EXPECT_EQ(screen.Pixel(409, 278), red);
  EXPECT_FALSE(Lit(410, 278));
  enemy.Life = 40;
  DrawEnemyLifeBars(game);
  EXPECT_EQ(screen.Pixel(399, 278), red);
  EXPECT_EQ(screen.Pixel(400, 278), grey);
  screen.ClearScreen(0, 0, 0);
  enemy.Kind = kKindGlimmerhex;
  DrawEnemyLifeBars(game);
  EXPECT_EQ(LitCount(), 0);
}

TEST_F(WorldDrawing, SparkCornerIsRoundedInTheWorldAndAgainOnTheScreen) {
  game.ViewX += 0.5f;
  AddSpark(game, 0, 2000, 0, 0, 3, 1, 255, 255, 255);
  game.Sparks.Current().X = 700.25f;  // 698.75 -> 699, + view -299.5 -> 99.5 -> 100
  AddSpark(game, 1400, 2000, 0, 0, 10, 1, 255, 255, 255);  // 400 right: outside
  DrawSparks(game);
  EXPECT_FALSE(Lit(99, 300));
  EXPECT_TRUE(Lit(100, 300));
  EXPECT_TRUE(Lit(102, 300));
  EXPECT_EQ(LitCount(), 9);
}

TEST_F(WorldDrawing, ShotsDrawByStyleOnlyInsideTheirWindow) {
  AddShot(game, 500, 2000, -200, 0, 1, ShotStyle::Streak, 255, 255,
          255);                                                        // a streak exactly 500 left
  AddShot(game, 1000, 2400, 0, 0, 1, ShotStyle::Ball, 255, 255, 255);  // a ball exactly 400 below
  RandomGenerator expected = game.Rng;
  DrawShots(game);
  EXPECT_EQ(LitCount(), 0);
  EXPECT_EQ(game.Sparks.CountList(), 0);
  EXPECT_EQ(game.Rng.Draw64(), expected.Draw64());

  game.Shots.Current().Y = 2000;
  game.Shots.At(0).X = 500.5f;  // reaches from pixel -100 back to 100
  expected = game.Rng;
  const int radius = 7 + Random(expected, 2);
  const float speed_y = static_cast<float>(Random(expected, 2) - 1);
  const float speed_x = static_cast<float>(Random(expected, 2) - 1);
  DrawShots(game);
  EXPECT_TRUE(Lit(50, 300));
  EXPECT_TRUE(Lit(400 + radius - 1, 300));
  EXPECT_FALSE(Lit(400 + radius, 300));
  ASSERT_EQ(game.Sparks.CountList(), 1);
  const Spark& spark = game.Sparks.Current();
  EXPECT_EQ(spark.X, 1000.0f);
  EXPECT_EQ(spark.SpeedX, speed_x);
  EXPECT_EQ(spark.SpeedY, speed_y);
  EXPECT_EQ(spark.Size, 4);
  EXPECT_EQ(spark.Steady, 0);
}

}  // namespace
}  // namespace starvane
