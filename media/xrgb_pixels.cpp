#include "media/xrgb_pixels.hpp"

#include <algorithm>

namespace starvane {

void WidenToXrgb8888(std::span<const std::uint16_t> rgb565, std::span<std::uint32_t> xrgb) {
  const std::size_t count = std::min(rgb565.size(), xrgb.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t pixel = rgb565[i];
    const std::uint32_t red = pixel >> 11 & 0x1F;
    const std::uint32_t green = pixel >> 5 & 0x3F;
    const std::uint32_t blue = pixel & 0x1F;
    xrgb[i] = 0xFF000000U | (red << 3 | red >> 2) << 16 | (green << 2 | green >> 4) << 8 |
              (blue << 3 | blue >> 2);
  }
}

}  // namespace starvane
