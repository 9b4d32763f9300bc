#include "media/bmp.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "media/canvas.hpp"

namespace starvane {
namespace {

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
