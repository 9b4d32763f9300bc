#include "media/screen_fit.hpp"

#include <algorithm>
#include <cmath>

#include "base/rounding.hpp"
#include "media/canvas.hpp"

namespace starvane {

Viewport FitScreen(int output_width, int output_height) {
  if (output_width <= 0 || output_height <= 0) return {};
  double scale = std::min(static_cast<double>(output_width) / kScreenWidth,
                          static_cast<double>(output_height) / kScreenHeight);
  if (scale >= 1.0) scale = std::floor(scale);
  Viewport viewport;
  viewport.width = std::min(RoundToInt(kScreenWidth * scale), output_width);
  viewport.height = std::min(RoundToInt(kScreenHeight * scale), output_height);
  viewport.x = (output_width - viewport.width) / 2;
  viewport.y = (output_height - viewport.height) / 2;
  return viewport;
}

}  // namespace starvane
