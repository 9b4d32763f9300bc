#include "media/screen_fit.hpp"
#include "media/software_rasteriser.hpp"

#include <gtest/gtest.h>

#include <utility>

namespace starvane {
namespace {

struct Expected {
  int output_width, output_height;
  ScaleMode mode;
  int x, y, width, height, prescale;
  bool smooth;
};

TEST(ScreenFit, ThePictureFillsTheOutputSharplyOrByWholeMultiples) {
  const Expected cases[] = {
      // The largest 4:3 picture, from the next whole multiple filtered down; bars only for
      // the aspect.
      {640, 480, ScaleMode::Sharp, 0, 0, 640, 480, 1, true},
      {1280, 800, ScaleMode::Sharp, 106, 0, 1067, 800, 2, true},
      {1366, 768, ScaleMode::Sharp, 171, 0, 1024, 768, 2, true},
      {1920, 1080, ScaleMode::Sharp, 240, 0, 1440, 1080, 2, true},
      {1600, 1200, ScaleMode::Sharp, 0, 0, 1600, 1200, 2, false},  // exactly 2x: nearest only
      {3840, 2160, ScaleMode::Sharp, 480, 0, 2880, 2160, 4, true},
      {801, 601, ScaleMode::Sharp, 0, 0, 801, 601, 2, true},
      {799, 1000, ScaleMode::Sharp, 0, 200, 799, 599, 1, true},
      {1001, 333, ScaleMode::Sharp, 278, 0, 444, 333, 1, true},
      // Whole multiples only; below 1x filtered down all the same.
      {640, 480, ScaleMode::Integer, 0, 0, 640, 480, 1, true},
      {1280, 800, ScaleMode::Integer, 240, 100, 800, 600, 1, false},
      {1366, 768, ScaleMode::Integer, 283, 84, 800, 600, 1, false},
      {1920, 1080, ScaleMode::Integer, 560, 240, 800, 600, 1, false},
      {3840, 2160, ScaleMode::Integer, 720, 180, 2400, 1800, 3, false},
      {801, 601, ScaleMode::Integer, 0, 0, 800, 600, 1, false},
  };
  for (const Expected& e : cases) {
    const ScreenFit fit = FitScreen(e.output_width, e.output_height, e.mode);
    const std::string where = std::to_string(e.output_width) + "x" +
                              std::to_string(e.output_height) +
                              (e.mode == ScaleMode::Sharp ? " sharp" : " integer");
    EXPECT_EQ(fit.picture.x, e.x) << where;
    EXPECT_EQ(fit.picture.y, e.y) << where;
    EXPECT_EQ(fit.picture.width, e.width) << where;
    EXPECT_EQ(fit.picture.height, e.height) << where;
    EXPECT_EQ(fit.prescale, e.prescale) << where;
    EXPECT_EQ(fit.smooth, e.smooth) << where;
  }
  EXPECT_EQ(FitScreen(0, 600, ScaleMode::Sharp).picture.width, 0);
  EXPECT_EQ(FitScreen(800, -1, ScaleMode::Integer).picture.height, 0);
  // The enlarged canvas stays within the renderer's largest texture.
  EXPECT_EQ(FitScreen(3840, 2160, ScaleMode::Sharp, 2048).prescale, 2);
  EXPECT_EQ(FitScreen(3840, 2160, ScaleMode::Sharp, 700).prescale, 1);
}

// Every canvas pixel is reached by the output pixel at the centre of its area on the screen,
// and the mapping never goes backwards: a box drawn on the canvas is hit where it is seen.
TEST(ScreenFit, EveryOutputPixelMapsToTheCanvasPixelShownThere) {
  const int sizes[][2] = {{640, 480}, {1280, 800}, {1366, 768}, {1920, 1080},
                          {801, 601}, {1023, 767}, {3840, 2160}};
  for (const auto& size : sizes) {
    for (const ScaleMode mode : {ScaleMode::Sharp, ScaleMode::Integer}) {
      const Viewport picture = FitScreen(size[0], size[1], mode).picture;
      const std::string where = std::to_string(size[0]) + "x" + std::to_string(size[1]);
      // (Below 1x some canvas pixels are only partly shown: every output pixel still maps.)
      for (int c = 0; c < 800 && picture.width >= 800; ++c) {
        const int output = picture.x + (2 * c + 1) * picture.width / 1600;
        ASSERT_EQ(CanvasPixelAt(picture, output, picture.y).x, c) << where << " x " << c;
      }
      for (int c = 0; c < 600 && picture.height >= 600; ++c) {
        const int output = picture.y + (2 * c + 1) * picture.height / 1200;
        ASSERT_EQ(CanvasPixelAt(picture, picture.x, output).y, c) << where << " y " << c;
      }
      int last = 0;
      for (int output = picture.x; output < picture.x + picture.width; ++output) {
        const int x = CanvasPixelAt(picture, output, picture.y).x;
        ASSERT_GE(x, last) << where;
        last = x;
      }
      EXPECT_EQ(last, 799) << where;
    }
  }
}

TEST(ScreenFit, PointerPositionsOnTheScreenAndBesideThePicture) {
  // 1920 x 1080, sharp: the picture is 1440 x 1080 from x 240.
  const Viewport sharp = FitScreen(1920, 1080, ScaleMode::Sharp).picture;
  EXPECT_EQ(CanvasPixelAt(sharp, 240, 0), (PointerPosition{0, 0}));
  EXPECT_EQ(CanvasPixelAt(sharp, 1679, 1079), (PointerPosition{799, 599}));
  EXPECT_EQ(CanvasPixelAt(sharp, 960, 540), (PointerPosition{400, 300}));
  EXPECT_EQ(CanvasPixelAt(sharp, 0, 540), (PointerPosition{0, 300}));    // the left bar
  EXPECT_EQ(CanvasPixelAt(sharp, 1919, -5), (PointerPosition{799, 0}));  // the right bar
  // Integer on the same screen: 1x from (560, 240), pixel for pixel.
  const Viewport whole = FitScreen(1920, 1080, ScaleMode::Integer).picture;
  EXPECT_EQ(CanvasPixelAt(whole, 560 + 123, 240 + 456), (PointerPosition{123, 456}));
  EXPECT_EQ(CanvasPixelAt(whole, 559, 239), (PointerPosition{0, 0}));
  // 640 x 480: shrunk, 5 canvas pixels to 4.
  const Viewport small = FitScreen(640, 480, ScaleMode::Sharp).picture;
  EXPECT_EQ(CanvasPixelAt(small, 4, 4), (PointerPosition{5, 5}));
  EXPECT_EQ(CanvasPixelAt(small, 639, 479), (PointerPosition{799, 599}));
  EXPECT_EQ(CanvasPixelAt(Viewport{}, 10, 10), (PointerPosition{0, 0}));
}

TEST(ScreenFit, WindowPointsToOutputPixels) {
  EXPECT_EQ(OutputPixelOfPoint(100, 800, 800), 100);
  EXPECT_EQ(OutputPixelOfPoint(100, 800, 1600), 201);  // a point is two pixels: its centre
  EXPECT_EQ(OutputPixelOfPoint(0, 800, 1600), 1);
  EXPECT_EQ(OutputPixelOfPoint(-3, 800, 1600), -5);
  EXPECT_EQ(OutputPixelOfPoint(7, 0, 1600), 7);
}

// A window opens at the picture's size where it fits, and on a desktop without room for it
// (640 x 480, or a panel taking rows) at the largest 4:3 size that does: never off the screen.
TEST(FitWindow, KeepsThePicturesSizeOrShrinksItToTheRoomKeepingItsAspect) {
  const auto size = [](int room_width, int room_height) {
    const Viewport v = FitWindow(800, 600, room_width, room_height);
    return std::pair{v.width, v.height};
  };
  EXPECT_EQ(size(1920, 1050), (std::pair{800, 600}));
  EXPECT_EQ(size(800, 600), (std::pair{800, 600}));
  EXPECT_EQ(size(640, 455), (std::pair{606, 455}));  // a 640 x 480 screen less a title bar
  EXPECT_EQ(size(700, 1000), (std::pair{700, 525}));
  EXPECT_EQ(size(1, 1), (std::pair{1, 1}));
  EXPECT_EQ(size(0, 0), (std::pair{800, 600}));  // no room known
  EXPECT_EQ(size(-5, 300), (std::pair{800, 600}));
  const Viewport huge = FitWindow(800, 600, 2147483647, 599);
  EXPECT_EQ(huge.width, 798);
  EXPECT_EQ(huge.height, 599);
}

// The screen passes over an OpenGL drawn by the processor, never over a graphics card's.
TEST(SoftwareRasteriser, IsToldByTheRendererName) {
  EXPECT_TRUE(IsSoftwareRasteriser("llvmpipe (LLVM 15.0.7, 256 bits)"));
  EXPECT_TRUE(IsSoftwareRasteriser("softpipe"));
  EXPECT_TRUE(IsSoftwareRasteriser("Software Rasterizer"));
  EXPECT_FALSE(IsSoftwareRasteriser("AMD Radeon RX 6600 (navi23, LLVM 15.0.7, DRM 3.49)"));
  EXPECT_FALSE(IsSoftwareRasteriser("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
  EXPECT_FALSE(IsSoftwareRasteriser(""));
}

// A 640 x 480 desktop with a panel of 24 pixels at its top, and a frame with a title bar of 22:
// the window, frame included, lies wholly inside the usable area, centred in it.
TEST(ScreenFit, AWindowLiesWhollyInsideTheUsableArea) {
  const Viewport room{0, 24, 640, 456};
  const WindowFrame frame{22, 1, 1, 1};
  const Viewport size = FitWindow(800, 600, 640 - 2, 456 - 23);
  const Viewport placed = PlaceWindow(size.width, size.height, room, frame);
  EXPECT_EQ(placed.y - frame.top, 24);
  EXPECT_EQ(placed.x - frame.left, (640 - size.width - 2) / 2);
  EXPECT_LE(placed.y + size.height + frame.bottom, 24 + 456);
  // Larger than the area: its top-left corner, title bar included, stays in it.
  const Viewport large = PlaceWindow(800, 600, room, frame);
  EXPECT_EQ(large.x, 1);
  EXPECT_EQ(large.y, 24 + 22);
}

}  // namespace
}  // namespace starvane
