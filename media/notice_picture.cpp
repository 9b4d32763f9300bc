#include "media/notice_picture.hpp"

#include <algorithm>
#include <cstddef>

#include "base/utf8_text.hpp"
#include "media/canvas.hpp"
#include "media/font.hpp"

namespace starvane {
namespace {

constexpr int kMostCharacters = kNoticeWidth / kFontWidth - 4;

}  // namespace

std::vector<std::uint32_t> NoticePixels(std::string_view text) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kNoticeWidth) * kNoticeHeight, 0);
  const std::string_view shown = FirstCharacters(text, kMostCharacters);
  const int width = static_cast<int>(CharacterCount(shown)) * kFontWidth;
  if (width == 0) return pixels;
  const int left = (kNoticeWidth - width) / 2;
  const int top = (kNoticeHeight - kFontHeight) / 2;
  Canvas letters;  // black, with the text in white at its top left
  letters.StartDrawing();
  letters.FrontColor(255, 255, 255);
  letters.DrawText(shown);
  for (int y = 0; y < kNoticeHeight; ++y) {
    for (int x = std::max(0, left - 12); x < std::min(kNoticeWidth, left + width + 12); ++x) {
      const bool ink = letters.Pixel(x - left, y - top) != 0 && x >= left && y >= top &&
                       x < left + width && y < top + kFontHeight;
      pixels[static_cast<std::size_t>(y) * kNoticeWidth + static_cast<std::size_t>(x)] =
          ink ? kOverlayInk : kOverlayBand;
    }
  }
  return pixels;
}

}  // namespace starvane
