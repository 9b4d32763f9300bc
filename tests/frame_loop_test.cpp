#include "app/frame_loop.hpp"

#include <gtest/gtest.h>

#include "media/bmp.hpp"
#include "tests/support/harness.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;
using starvane::testing::World;

TEST(FrameLoop, EscapeDownAtFrameThreeEndsAfterFourFrames) {
  Harness t({.script = "3 down Escape\n", .world = World::Empty});
  EXPECT_TRUE(t.screen_opened);
  EXPECT_EQ(RunFrameLoop(t.game), LoopEnd::Escape);
  EXPECT_EQ(t.media.FramesPresented(), 4);
}

TEST(FrameLoop, EscapePressedAndReleasedBetweenExaminationsIsNotSeen) {
  Harness t({.script = "2 down Escape\n2 up Escape\n5 down Escape\n", .world = World::Empty});
  EXPECT_EQ(RunFrameLoop(t.game), LoopEnd::Escape);
  EXPECT_EQ(t.media.FramesPresented(), 6);
}

TEST(FrameLoop, AFrameLimitEndsTheLoopWithoutEscape) {
  Harness t({.world = World::Empty});
  t.media.SetFrameLimit(7);
  EXPECT_EQ(RunFrameLoop(t.game), LoopEnd::FrameLimit);
  EXPECT_EQ(t.media.FramesPresented(), 7);
  Harness none({.script = "0 down Escape\n", .world = World::Empty});
  none.media.SetFrameLimit(0);
  EXPECT_EQ(RunFrameLoop(none.game), LoopEnd::FrameLimit);
  EXPECT_EQ(none.media.FramesPresented(), 0);
}

TEST(FrameLoop, EachFrameIsClearedToTheBackgroundColour) {
  Harness t({.script = "0 down Escape\n", .world = World::Empty});
  t.game.BackRed = 255;
  t.game.BackBlue = 300;  // clamped, not wrapped into another channel
  RunFrameLoop(t.game);
  EXPECT_EQ(t.media.Screen.Pixel(0, 300), ScreenColor(255, 0, 255));  // clear of the HUD
  EXPECT_EQ(t.media.Screen.Pixel(799, 599), 0xF81F);
}

TEST(Bmp, IsAn800By600TwentyFourBitImageBottomRowFirst) {
  Canvas canvas;
  canvas.ClearScreen(0, 0, 0);
  canvas.FrontColor(255, 128, 0);
  canvas.Plot(0, 599);  // the bottom-left pixel comes first in the file
  const std::vector<std::uint8_t> bmp = EncodeBmp(canvas);
  ASSERT_EQ(bmp.size(), 54u + 800u * 600u * 3u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(bmp[18] | bmp[19] << 8, 800);
  EXPECT_EQ(bmp[22] | bmp[23] << 8, 600);
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(bmp[54], 0);      // blue
  EXPECT_EQ(bmp[55], 130);    // green: 128 kept as 32 of 63, widened back
  EXPECT_EQ(bmp[56], 255);    // red: full stays full
  EXPECT_EQ(bmp[57 + 2], 0);  // the next pixel is black
}

}  // namespace
}  // namespace starvane
