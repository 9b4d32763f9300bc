// The short-lived effects, the status bars, the minimap and the HUD text.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "base/random.hpp"
#include "base/rounding.hpp"
#include "media/canvas.hpp"
#include "render/effects.hpp"
#include "render/hud.hpp"
#include "tests/support/arena.hpp"
#include "world/adders.hpp"

namespace starvane {
namespace {

using starvane::testing::Arena;

Canvas& Screen(Arena& a) {
  return a.media.Screen;
}

TEST(UpdateEffects, SparksFadeAndGoOnlyInTheFrameAfterTheyTurnBlack) {
  Arena a;
  AddSpark(a.game, 0, 0, 0, 0, 2, 0, 0, 0, 0);    // black: goes at once
  AddSpark(a.game, 0, 0, 0, 0, 2, 0, 0, 0, 0);    // behind it, black too
  AddSpark(a.game, 0, 0, 0, 0, 2, 0, 255, 0, 0);  // fades
  AddSpark(a.game, 0, 0, 0, 0, 2, 1, 0, 0, 0);    // steady: stays as it is
  UpdateEffects(a.game);
  ASSERT_EQ(a.game.Sparks.CountList(), 2) << "removing the first spark skips none behind it";
  const Spark& red = a.game.Sparks.At(0);
  EXPECT_GE(red.Red, 245);
  EXPECT_LE(red.Red, 255);
  int frames = 1;
  while (red.Red > 0) {
    const std::int16_t before = red.Red;
    UpdateEffects(a.game);
    ASSERT_LE(before - red.Red, 10);
    ++frames;
    ASSERT_EQ(a.game.Sparks.CountList(), 2) << "still there in the frame it turned black";
  }
  EXPECT_GE(frames, 26);
  UpdateEffects(a.game);
  EXPECT_EQ(a.game.Sparks.CountList(), 1);
  EXPECT_EQ(a.game.Sparks.At(0).Steady, 1);
}

TEST(UpdateEffects, TheFlashFadesToBlackIn20FramesAndSpeedShakesTheView) {
  Arena a;
  a.game.BackRed = a.game.BackGreen = a.game.BackBlue = 100;
  for (int frame = 1; frame <= 20; ++frame) {
    UpdateEffects(a.game);
    EXPECT_EQ(a.game.BackGreen, frame < 20 ? 100 - 5 * frame : 0);
  }
  UpdateEffects(a.game);
  EXPECT_EQ(a.game.BackRed, 0);

  a.game.ShipSpeed = 10;
  a.game.ViewX = a.game.ViewY = 400;
  UpdateEffects(a.game);
  EXPECT_EQ(a.game.ViewX, 400.0f) << "no shake at 10";
  for (int frame = 0; frame < 20; ++frame) {
    a.game.ShipSpeed = 20;
    a.game.ViewX = a.game.ViewY = 400;
    UpdateEffects(a.game);
    EXPECT_GE(a.game.ViewX, 390.0f);
    EXPECT_LE(a.game.ViewX, 392.0f);
    EXPECT_GE(a.game.ViewY, 390.0f);
    EXPECT_LE(a.game.ViewY, 392.0f);
  }
}

TEST(UpdateEffects, TheGlimmerhexTrailsSparksWithItsCaptionOnlyNearTheScreen) {
  Arena a;
  const std::int64_t hex = a.Add(200, 100, "glimmerhex", 2, 0);
  ASSERT_EQ(hex, kGlimmerhexIndex);
  a.Upkeep();
  a.game.FrameTick = 10;
  a.At(hex).Spin = 0;
  UpdateEffects(a.game);
  EXPECT_EQ(a.game.Sparks.CountList(), 1);
  EXPECT_EQ(Screen(a).TextX(), 400 + 200 - 50 + 14 * 8) << "THE GLIMMERHEX, 50 up and left";
  EXPECT_EQ(Screen(a).TextY(), 300 + 100 - 50);
  EXPECT_NE(a.At(hex).Spin, 0.0f) << "re-aimed every 11 frames";

  a.At(hex).Points[0].X = 5000;
  a.Upkeep();
  UpdateEffects(a.game);
  EXPECT_EQ(a.game.Sparks.CountList(), 1);
}

TEST(UpdateEffects, ShieldPulseTeleportRingAndWeaponGlow) {
  Arena a;
  a.game.FrameTick = 4;
  a.game.TeleportCharge = 50;
  a.game.SelectedWeapon = 3;
  a.game.ActiveWeapon.Value = 200;
  UpdateEffects(a.game);
  EXPECT_EQ(a.At(kShieldIndex).Red, 60);
  EXPECT_EQ(a.At(kShieldIndex).Green, 60);
  const std::uint16_t disc = Screen(a).Pixel(400, 280);
  EXPECT_TRUE(disc == ScreenColor(0, 0, 0) || disc == ScreenColor(50, 50, 50) ||
              disc == ScreenColor(100, 100, 100))
      << "a disc of radius 20 to 30, grey 0, 50 or 100";
  EXPECT_EQ(Screen(a).Pixel(400, 290), ScreenColor(100, 100, 200)) << "the glow at the muzzle";
  // "Teleport : 50%" at (5, 25), white on black.
  EXPECT_EQ(Screen(a).Pixel(5 + 8 * 14 - 1, 25), ScreenColor(0, 0, 0));
  bool white = false;
  for (int x = 5; x < 5 + 8; ++x) {
    for (int y = 25; y < 25 + 13; ++y) white = white || Screen(a).Pixel(x, y) == 0xFFFF;
  }
  EXPECT_TRUE(white) << "the T";
  EXPECT_EQ(a.game.Bodies.ListIndex(), kTurretIndex + 1) << "the glow's body stays current";
}

TEST(DrawLightning, FewerThanTwoPointsDrawNothingAndDrawNoRandomNumbers) {
  Arena a;
  RandomGenerator untouched = a.game.Rng;
  DrawLightning(a.game, 0, 0, 100, 0, 1, 0, 0, 100);
  DrawLightning(a.game, 0, 0, 100, 0, -7, 0, 0, 100);
  EXPECT_EQ(a.game.Rng.Draw64(), untouched.Draw64());
  DrawLightning(a.game, -2147483647 - 1, 0, 2147483647, 0, 1000, 0, 0, 100);  // no overflow
  a.game.FrameTick = 0;
  DrawLightning(a.game, 0, 0, 100, 0, 2, 0, 0, 100);
  // The bolt's last line ends at its second point, within 5 units of (100, 0).
  EXPECT_LE(std::abs(Screen(a).TextX() - RoundToInt(100 + a.game.ViewX)), 5);
}

// Point by point from the first end, each jittered by its x draw and then its y draw.
TEST(DrawLightning, EachPointDrawsItsXJitterBeforeItsY) {
  Arena a;
  a.game.FrameTick = 0;
  a.game.ViewX = a.game.ViewY = 0;
  RandomGenerator draws = a.game.Rng;
  Canvas expected;
  expected.StartDrawing();
  expected.FrontColor(0, 0, 100);
  bool told_apart = false;  // the two draws of a point differed, so their order shows
  int last_x = 0;
  int last_y = 0;
  for (int i = 0; i < 5; ++i) {  // 5 points 100 apart from (100, 300) to (500, 300)
    const int jitter_x = Random(draws, 10);
    const int jitter_y = Random(draws, 10);
    told_apart = told_apart || jitter_x != jitter_y;
    const int x = 100 + 100 * i + jitter_x - 5;
    const int y = 300 + jitter_y - 5;
    if (i > 0) expected.LineXY(last_x, last_y, x, y);
    last_x = x;
    last_y = y;
  }
  DrawLightning(a.game, 100, 300, 500, 300, 5, 0, 0, 100);
  EXPECT_TRUE(told_apart);
  EXPECT_TRUE(Screen(a).Pixels() == expected.Pixels());
}

TEST(DrawStatusBars, BarsEndWhereTheirShareOfTheWidthEnds) {
  Arena a;
  a.game.Energie.Value = 150;  // half: ends at ceil(319.5) = 320
  a.game.ActiveWeapon = Equipment{0, 0, 2, 1, 1, 0};
  DrawStatusBars(a.game);
  const std::uint16_t red = ScreenColor(255, 0, 0);
  EXPECT_EQ(Screen(a).Pixel(10, 590), red);
  EXPECT_EQ(Screen(a).Pixel(628, 590), red);
  EXPECT_NE(Screen(a).Pixel(629, 590), red);
  EXPECT_EQ(Screen(a).Pixel(319, 585), ScreenColor(0, 100, 255));
  EXPECT_NE(Screen(a).Pixel(320, 585), ScreenColor(0, 100, 255));
  EXPECT_EQ(Screen(a).Pixel(5, 20), 0) << "an empty weapon has no bar";

  Arena broken;
  broken.game.Life = Equipment{0, 0, 0, 0, 0, 0};  // no life, and no ceiling either
  DrawStatusBars(broken.game);
  EXPECT_NE(Screen(broken).Pixel(10, 590), red);
}

TEST(DrawMiniMap, MarksEveryBodyByKindAndTheShipLast) {
  Arena a;
  a.PlaceShip(-5000, 5000);
  a.Add(5000, -5000, "random");
  a.Add(0, 0, "enemie2");
  a.Add(2500, 2500, "glimmerhex");
  a.Upkeep();
  DrawMiniMap(a.game);
  EXPECT_EQ(Screen(a).Pixel(760, 510), ScreenColor(0, 0, 255));
  EXPECT_EQ(Screen(a).Pixel(721, 541), ScreenColor(255, 0, 0)) << "a 2 x 2 box at the centre";
  EXPECT_EQ(Screen(a).Pixel(740, 555), 0) << "the glimmerhex is not shown";
  EXPECT_EQ(Screen(a).Pixel(696, 522), ScreenColor(100, 100, 255)) << "the planet's circle";
  EXPECT_EQ(Screen(a).Pixel(680, 570), ScreenColor(0, 255, 0)) << "the ship's square over it";
  EXPECT_EQ(Screen(a).Pixel(639, 500), ScreenColor(50, 50, 50));
}

TEST(DrawHudText, WeaponAtTheTopAndMoneyAtTheBottom) {
  Arena a;
  a.game.Money = 1234;
  DrawHudText(a.game);
  EXPECT_EQ(Screen(a).TextX(), 10 + 8 * static_cast<int>(std::string("Money : 1234").size()));
  EXPECT_EQ(Screen(a).TextY(), 565);
  EXPECT_NE(Screen(a).Pixel(1, 3), 0) << "the W of Weapon";
}

// Values that only a broken ship file, a runaway body or a careless caller gives: whatever can
// be drawn is drawn, and nothing overflows or misbehaves.
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

TEST(DrawLightning, KeepsToItsFiftyOnePointsAndToleratesAnyIntegers) {
  Arena a;
  a.game.FrameTick = 10;
  RandomGenerator expected = a.game.Rng;
  for (int draw = 0; draw < 2 * 51; ++draw) expected.Draw64();
  DrawLightning(a.game, kMin, kMin, kMax, kMax, kMax, kMax, kMax, kMax);
  EXPECT_EQ(a.game.Rng.Draw64(), expected.Draw64()) << "an x and a y draw for each of 51 points";

  // A bolt across the screen's top row: the colour channels saturate instead of overflowing.
  a.game.ViewX = a.game.ViewY = 0;
  DrawLightning(a.game, -1000, 300, 2000, 300, 2, kMax, kMin, kMax - 10);
  bool bolt = false;
  for (int y = 290; y <= 310; ++y) bolt = bolt || a.media.Screen.Pixel(400, y) == 0xF81F;
  EXPECT_TRUE(bolt) << "magenta: red and blue at full, green at none";
}

// The next two guard undefined behaviour (a float beyond the integers converted to one, a
// signed overflow) that leaves no mark a test could read: only the sanitizers of the test build
// (the `test` preset, which ./test builds) see it, and they end the run. Without them these would
// pass whatever the code did, so there they say so and skip.
bool Sanitized() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#elif defined(__has_feature)
  return __has_feature(address_sanitizer);
#else
  return false;
#endif
}

TEST(UpdateEffects, SurvivesInfiniteSpeedsAndReloadCounters) {
  if (!Sanitized()) GTEST_SKIP() << "only the sanitizers see what this guards";
  for (const float extreme : {kInfinity, -kInfinity, 3e38f}) {
    Arena a;
    a.game.ShipSpeed = extreme;
    a.game.SelectedWeapon = 3;
    a.game.ActiveWeapon.Value = extreme;
    a.game.TeleportCharge = 100;
    a.game.Shock.Active = 1;
    UpdateEffects(a.game);
    UpdateEffects(a.game);
  }
}

// A negative maximum (an edited ship file) still gives a bar by the same rule: half of -100 is
// half, and 100 of -300 runs a bar left from x = 10 off the screen. Only an end that is no
// finite number draws nothing.
TEST(DrawStatusBars, ABarFollowsItsShareWhereFiniteAndIsLeftOutWhereNot) {
  Arena a;
  a.game.Life = Equipment{0, -50, -100, 0, 0, 0};
  a.game.Energie = Equipment{0, 100, -300, 0, 0, 0};  // ends at ceil(-196.33) = -196
  a.game.ActiveWeapon = Equipment{0, -1, -2, 0, 0, 0};
  DrawStatusBars(a.game);
  const std::uint16_t red = ScreenColor(255, 0, 0);
  const std::uint16_t blue = ScreenColor(0, 100, 255);
  EXPECT_EQ(a.media.Screen.Pixel(319, 590), red);
  EXPECT_NE(a.media.Screen.Pixel(320, 590), red);
  EXPECT_EQ(a.media.Screen.Pixel(0, 585), blue);
  EXPECT_EQ(a.media.Screen.Pixel(10, 585), blue);
  EXPECT_NE(a.media.Screen.Pixel(11, 585), blue);
  EXPECT_NE(a.media.Screen.Pixel(29, 20), 0) << "half the weapon's bar";
  EXPECT_EQ(a.media.Screen.Pixel(30, 20), 0);

  Arena none;
  none.game.Life = Equipment{0, kInfinity, kInfinity, 0, 0, 0};  // infinity over infinity
  none.game.Energie = Equipment{0, 100, 0, 0, 0, 0};             // an endless share
  none.game.ActiveWeapon = Equipment{0, kInfinity, 2, 0, 0, 0};
  DrawStatusBars(none.game);
  for (int x = 0; x < 800; ++x) {
    EXPECT_EQ(none.media.Screen.Pixel(x, 590), 0) << x;
    EXPECT_EQ(none.media.Screen.Pixel(x, 585), 0) << x;
    EXPECT_EQ(none.media.Screen.Pixel(x, 20), 0) << x;
  }
}

TEST(DrawMiniMap, BodiesFarOutsideTheWorldOrAWorldOfNoSizeAreSafe) {
  if (!Sanitized()) GTEST_SKIP() << "only the sanitizers see what this guards";
  Arena a;
  a.Add(0, 0, "random");
  a.At(4).Points[0] = {3e38f, -kInfinity};
  a.game.ShipX = kInfinity;
  DrawMiniMap(a.game);
  a.game.WorldWidth = 0;
  a.game.WorldHeight = 0;
  DrawMiniMap(a.game);
}

}  // namespace
}  // namespace starvane
