#include "media/canvas.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <initializer_list>
#include <random>
#include <vector>

#include "base/fnv1a.hpp"
#include "media/font.hpp"
#include "media/xrgb_pixels.hpp"

namespace starvane {
namespace {

constexpr std::uint16_t kWhite = 0xFFFF;
__extension__ using Wide = __int128;

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    canvas.ClearScreen(0, 0, 0);
    canvas.StartDrawing();
    canvas.FrontColor(255, 255, 255);
  }
  bool Lit(int x, int y) const { return canvas.Pixel(x, y) == kWhite; }
  int LitCount() const {
    int count = 0;
    for (std::uint16_t p : canvas.Pixels()) count += p == kWhite;
    return count;
  }

  Canvas canvas;
};

TEST_F(CanvasTest, ColoursAreReducedToTheScreenFormatAndClamped) {
  EXPECT_EQ(ScreenColor(255, 255, 255), 0xFFFF);
  EXPECT_EQ(ScreenColor(8, 4, 8), (1 << 11) | (1 << 5) | 1);
  EXPECT_EQ(ScreenColor(7, 3, 7), 0);  // below the kept bits
  EXPECT_EQ(ScreenColor(300, -5, 128), (31 << 11) | 16);
  EXPECT_EQ(ScreenColor(INT_MIN, INT_MAX, 0), 63 << 5);
  canvas.ClearScreen(255, 0, 0);
  EXPECT_EQ(canvas.Pixel(0, 0), 31 << 11);
  EXPECT_EQ(canvas.Pixel(799, 599), 31 << 11);
  EXPECT_EQ(canvas.Pixel(800, 0), 0);  // outside reads as 0
}

TEST_F(CanvasTest, StartDrawingMakesTheColoursBlackAgain) {
  canvas.StartDrawing();
  canvas.ClearScreen(255, 255, 255);
  canvas.Plot(5, 5);
  EXPECT_EQ(canvas.Pixel(5, 5), 0);
}

TEST_F(CanvasTest, BoxCoversItsWidthAndHeightExactly) {
  canvas.Box(10, 20, 3, 2);
  EXPECT_EQ(LitCount(), 6);
  EXPECT_TRUE(Lit(10, 20));
  EXPECT_TRUE(Lit(12, 21));  // the last column and row
  EXPECT_FALSE(Lit(13, 20));
  EXPECT_FALSE(Lit(10, 22));
  canvas.Box(50, 50, 0, 5);
  canvas.Box(50, 50, 5, -1);
  EXPECT_EQ(LitCount(), 6);
}

TEST_F(CanvasTest, BoxClipsAnyCoordinates) {
  canvas.Box(-10, -10, 12, 11);
  EXPECT_EQ(LitCount(), 2);
  EXPECT_TRUE(Lit(1, 0));
  canvas.Box(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  canvas.Box(INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  canvas.Box(795, 598, 1000, 1000);
  EXPECT_EQ(LitCount(), 2 + 10);
  canvas.Box(INT_MIN, 300, INT_MAX, 1);  // ends at -2, left of the screen
  EXPECT_FALSE(Lit(0, 300));
  canvas.Box(-5, 300, INT_MAX, 1);
  EXPECT_TRUE(Lit(0, 300));
  EXPECT_TRUE(Lit(799, 300));
}

TEST_F(CanvasTest, CircleFillsTheSquareAroundItsCentre) {
  canvas.Circle(100, 100, 1);
  EXPECT_EQ(LitCount(), 4);  // the 2 x 2 square 99..100
  EXPECT_TRUE(Lit(99, 99));
  EXPECT_TRUE(Lit(100, 100));
  canvas.ClearScreen(0, 0, 0);
  canvas.Circle(200, 200, 10);
  EXPECT_TRUE(Lit(190, 200));  // leftmost column x - r
  EXPECT_TRUE(Lit(209, 199));  // rightmost column x + r - 1
  EXPECT_FALSE(Lit(210, 200));
  EXPECT_TRUE(Lit(200, 190));
  EXPECT_TRUE(Lit(199, 209));
  EXPECT_FALSE(Lit(200, 210));
  EXPECT_FALSE(Lit(190, 190));  // corners of the square stay empty
  EXPECT_FALSE(Lit(209, 209));
  for (int d = 0; d < 10; ++d) {  // symmetric about the point (x, y)
    EXPECT_EQ(Lit(200 + d, 200 + d), Lit(199 - d, 199 - d)) << d;
    EXPECT_EQ(Lit(200 + d, 195), Lit(199 - d, 195)) << d;
  }
  canvas.ClearScreen(0, 0, 0);
  canvas.Circle(5, 5, 0);
  canvas.Circle(5, 5, -3);
  EXPECT_EQ(LitCount(), 0);
}

TEST_F(CanvasTest, CircleClipsAnyCoordinates) {
  canvas.Circle(INT_MAX, INT_MAX, INT_MAX);
  canvas.Circle(INT_MIN, INT_MIN, INT_MAX);
  canvas.Circle(-5, 300, 10);
  EXPECT_TRUE(Lit(0, 300));
  EXPECT_TRUE(Lit(4, 300));
  EXPECT_FALSE(Lit(5, 300));
  canvas.Circle(400, 300, 100000);  // covers the whole screen
  EXPECT_EQ(LitCount(), kScreenWidth * kScreenHeight);
  canvas.ClearScreen(0, 0, 0);
  canvas.Circle(INT_MAX, 300, INT_MAX - 5);  // the widest circle's edge, to the pixel
  EXPECT_TRUE(Lit(5, 300));
  EXPECT_FALSE(Lit(4, 300));
}

TEST_F(CanvasTest, LineLeavesOutItsEndPixel) {
  canvas.LineXY(10, 10, 20, 10);
  EXPECT_EQ(LitCount(), 10);
  EXPECT_TRUE(Lit(10, 10));
  EXPECT_TRUE(Lit(19, 10));
  EXPECT_FALSE(Lit(20, 10));
  EXPECT_EQ(canvas.TextX(), 20);
  EXPECT_EQ(canvas.TextY(), 10);
  canvas.LineXY(30, 40, 30, 30);  // upwards
  EXPECT_TRUE(Lit(30, 40));
  EXPECT_TRUE(Lit(30, 31));
  EXPECT_FALSE(Lit(30, 30));
  canvas.LineXY(50, 50, 50, 50);  // no length: nothing
  EXPECT_FALSE(Lit(50, 50));
  EXPECT_EQ(LitCount(), 20);
}

TEST_F(CanvasTest, SlopedLinesStepOnePixelAtATime) {
  canvas.LineXY(100, 100, 110, 105);
  EXPECT_EQ(LitCount(), 10);  // one pixel per column along the longer axis
  for (int x = 100; x < 110; ++x) {
    int lit_in_column = 0;
    for (int y = 95; y < 115; ++y) lit_in_column += Lit(x, y);
    EXPECT_EQ(lit_in_column, 1) << x;
  }
  EXPECT_FALSE(Lit(110, 105));
  canvas.ClearScreen(0, 0, 0);
  canvas.LineXY(200, 200, 190, 230);  // steep, up-left to down
  EXPECT_EQ(LitCount(), 30);
  EXPECT_TRUE(Lit(200, 200));
  EXPECT_FALSE(Lit(190, 230));
}

TEST_F(CanvasTest, LinesFromFarOffTheSurfaceClipToIt) {
  canvas.LineXY(-1000000000, 300, 1000000000, 300);
  for (int x = 0; x < kScreenWidth; ++x) ASSERT_TRUE(Lit(x, 300)) << x;
  EXPECT_EQ(LitCount(), kScreenWidth);
  canvas.LineXY(INT_MIN, INT_MIN, INT_MAX, INT_MAX);  // through the screen's diagonal
  EXPECT_EQ(LitCount(), kScreenWidth + kScreenHeight - 1);
  canvas.LineXY(INT_MAX, 0, INT_MAX, 599);
  canvas.LineXY(900, -50, 2000, 700);
  EXPECT_EQ(LitCount(), kScreenWidth + kScreenHeight - 1);
}

// Each step along the major axis takes the minor coordinate nearest to the exact line (halves
// away from the start). The canvas carries that along from the first visible step; this works
// each one out on its own, for lines that start far off the surface too.
TEST_F(CanvasTest, EveryLinePixelIsTheNearestToTheExactLine) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int> near(-1500, 2500);
  std::uniform_int_distribution<int> far(INT_MIN, INT_MAX);
  for (int line = 0; line < 300; ++line) {
    const bool huge = line % 10 == 0;
    const std::int64_t x1 = huge ? far(random) : near(random);
    const std::int64_t y1 = huge ? far(random) : near(random);
    const std::int64_t x2 = near(random);
    const std::int64_t y2 = near(random);
    canvas.ClearScreen(0, 0, 0);
    canvas.LineXY(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2),
                  static_cast<int>(y2));
    std::vector<std::uint16_t> expected(canvas.Pixels().size(), 0);
    const std::int64_t dx = x2 - x1;
    const std::int64_t dy = y2 - y1;
    const bool x_major = std::abs(dx) >= std::abs(dy);
    const std::int64_t steps = x_major ? std::abs(dx) : std::abs(dy);
    const std::int64_t minor = x_major ? std::abs(dy) : std::abs(dx);
    const std::int64_t start = x_major ? x1 : y1;
    const std::int64_t direction = (x_major ? dx : dy) < 0 ? -1 : 1;
    // Only the steps whose major coordinate lies on the surface can show.
    for (std::int64_t c = 0; c < (x_major ? kScreenWidth : kScreenHeight); ++c) {
      const std::int64_t i = (c - start) * direction;
      if (i < 0 || i >= steps) continue;
      const Wide numerator = Wide{2} * i * minor + steps;
      const auto offset = static_cast<std::int64_t>(numerator / (Wide{2} * steps));
      const std::int64_t across =
          x_major ? y1 + (dy < 0 ? -offset : offset) : x1 + (dx < 0 ? -offset : offset);
      const std::int64_t px = x_major ? c : across;
      const std::int64_t py = x_major ? across : c;
      if (px >= 0 && px < kScreenWidth && py >= 0 && py < kScreenHeight) {
        expected[static_cast<std::size_t>(py * kScreenWidth + px)] = kWhite;
      }
    }
    ASSERT_EQ(canvas.Pixels(), expected) << x1 << "," << y1 << " to " << x2 << "," << y2;
  }
}

TEST_F(CanvasTest, TextCellsAreOpaqueAndThePositionAdvances) {
  canvas.FrontColor(255, 255, 255);
  canvas.BackColor(0, 0, 255);
  canvas.Locate(10, 20);
  canvas.DrawText("AA");
  EXPECT_EQ(canvas.TextX(), 10 + 2 * kFontWidth);
  EXPECT_EQ(canvas.TextY(), 20);
  const Glyph& a = kFontGlyphs['A' - kFontFirstByte];
  int front = 0;
  int back = 0;
  for (int row = 0; row < kFontHeight; ++row) {
    for (int column = 0; column < kFontWidth; ++column) {
      const bool ink = a[static_cast<std::size_t>(row)] & (0x80 >> column);
      const std::uint16_t pixel = canvas.Pixel(10 + column, 20 + row);
      EXPECT_EQ(pixel, ink ? kWhite : ScreenColor(0, 0, 255));
      EXPECT_EQ(canvas.Pixel(18 + column, 20 + row), pixel);  // the second A
      (ink ? front : back)++;
    }
  }
  EXPECT_GT(front, 10);
  EXPECT_GT(back, 10);
  EXPECT_EQ(canvas.Pixel(26, 20), 0);  // nothing after the last cell
  EXPECT_EQ(canvas.Pixel(10, 33), 0);  // nor below it
}

TEST_F(CanvasTest, TextClipsAndShowsEveryByte) {
  canvas.BackColor(0, 255, 0);
  canvas.Locate(796, 595);
  canvas.DrawText("Wide text \x01\xFF");
  EXPECT_EQ(canvas.Pixel(799, 599), ScreenColor(0, 255, 0));
  canvas.Locate(INT_MAX - 3, INT_MIN);
  canvas.DrawText("no overflow");
  EXPECT_EQ(canvas.TextX(), INT_MAX);
  canvas.Locate(-4, 0);
  canvas.DrawText(" ");
  EXPECT_EQ(canvas.Pixel(3, 0), ScreenColor(0, 255, 0));
  EXPECT_EQ(canvas.Pixel(4, 0), 0);
}

TEST_F(CanvasTest, TextIsUtf8WithAStandInForWhatTheFontLacks) {
  // The cells of the glyphs of these bytes of the font, side by side from x = 0.
  const auto drawn_as = [](std::initializer_list<int> bytes) {
    Canvas cells;
    cells.StartDrawing();
    cells.FrontColor(255, 255, 255);
    int x = 0;
    for (int byte : bytes) {
      const Glyph& glyph = kFontGlyphs[static_cast<std::size_t>(byte - kFontFirstByte)];
      for (int row = 0; row < kFontHeight; ++row) {
        for (int column = 0; column < kFontWidth; ++column) {
          if (glyph[static_cast<std::size_t>(row)] & (0x80 >> column)) cells.Plot(x + column, row);
        }
      }
      x += kFontWidth;
    }
    return cells.Pixels();
  };
  // o with diaeresis in UTF-8 is one character; the same byte alone is no UTF-8, and a
  // character beyond the font (the euro sign) takes one cell with the stand-in.
  canvas.Locate(0, 0);
  canvas.DrawText("N\xC3\xB6va \xF6\xE2\x82\xAC");
  EXPECT_EQ(canvas.TextX(), 7 * kFontWidth);
  EXPECT_TRUE(canvas.Pixels() ==
              drawn_as({'N', 0xF6, 'v', 'a', ' ', kFontStandInByte, kFontStandInByte}));
  // A broken sequence shows one stand-in per byte.
  canvas.ClearScreen(0, 0, 0);
  canvas.Locate(0, 0);
  canvas.DrawText("\xE2\x82!");
  EXPECT_TRUE(canvas.Pixels() == drawn_as({kFontStandInByte, kFontStandInByte, '!'}));
}

// A display of 32-bit pixels shows the colours the screenshots hold: full stays full.
TEST(WidenToXrgb8888, RepeatsEachChannelsTopBitsAndIsOpaque) {
  const std::vector<std::uint16_t> rgb565 = {0xFFFF, 0x0000, 0xF800, 0x07E0, 0x001F, 0x5659};
  std::vector<std::uint32_t> xrgb(rgb565.size());
  WidenToXrgb8888(rgb565, xrgb);
  EXPECT_EQ(xrgb, (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFFFF0000, 0xFF00FF00,
                                              0xFF0000FF, 0xFF52CBCE}));
}

TEST(FrameHash, IsFnv1aOfEachPixelLowByteFirst) {
  // The published FNV-1a test vectors.
  const std::uint8_t a[] = {'a'};
  const std::uint8_t foobar[] = {'f', 'o', 'o', 'b', 'a', 'r'};
  EXPECT_EQ(Fnv1a64(std::span<const std::uint8_t>()), 0xcbf29ce484222325u);
  EXPECT_EQ(Fnv1a64(a), 0xaf63dc4c8601ec8cu);
  EXPECT_EQ(Fnv1a64(foobar), 0x85944171f73967e8u);
  EXPECT_EQ(Fnv1a64(std::string_view("foobar")), 0x85944171f73967e8u);  // text hashes alike

  Canvas canvas;
  canvas.ClearScreen(0, 0, 0);
  canvas.FrontColor(255, 0, 0);  // 0xF800: low byte 0x00, high byte 0xF8
  canvas.Plot(0, 0);
  std::vector<std::uint8_t> bytes(800 * 600 * 2, 0);
  bytes[1] = 0xF8;
  EXPECT_EQ(FrameHash(canvas), Fnv1a64(bytes));
  bytes[1] = 0;
  bytes[0] = 0xF8;
  EXPECT_NE(FrameHash(canvas), Fnv1a64(bytes));  // not the other byte order
}

}  // namespace
}  // namespace starvane
