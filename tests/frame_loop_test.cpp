#include "app/frame_loop.hpp"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace starvane
