#include "media/screen_fit.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "media/canvas.hpp"

namespace starvane {
namespace {

// floor(numerator / denominator) for a positive denominator, whatever the numerator's sign.
std::int64_t FloorDivide(std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t quotient = numerator / denominator;
  return numerator % denominator < 0 ? quotient - 1 : quotient;
}

// The 4:3 picture as large as fits: the limiting side fills, the other is rounded to the
// nearest pixel.
Viewport LargestPicture(int output_width, int output_height) {
  const std::int64_t width = output_width;
  const std::int64_t height = output_height;
  Viewport picture;
  if (width * kScreenHeight <= height * kScreenWidth) {
    picture.width = output_width;
    picture.height = static_cast<int>(std::min<std::int64_t>(
        height, (2 * width * kScreenHeight + kScreenWidth) / (2 * kScreenWidth)));
  } else {
    picture.height = output_height;
    picture.width = static_cast<int>(std::min<std::int64_t>(
        width, (2 * height * kScreenWidth + kScreenHeight) / (2 * kScreenHeight)));
  }
  return picture;
}

}  // namespace

ScreenFit FitScreen(int output_width, int output_height, ScaleMode mode, int largest_texture) {
  ScreenFit fit;
  if (output_width <= 0 || output_height <= 0) return fit;
  const int whole = std::min(output_width / kScreenWidth, output_height / kScreenHeight);
  if (whole < 1) {
    fit.picture = LargestPicture(output_width, output_height);
    fit.smooth = true;
  } else if (mode == ScaleMode::Integer) {
    fit.picture.width = whole * kScreenWidth;
    fit.picture.height = whole * kScreenHeight;
    fit.prescale = whole;
  } else {
    fit.picture = LargestPicture(output_width, output_height);
    fit.prescale = whole;
    if (fit.picture.width != whole * kScreenWidth || fit.picture.height != whole * kScreenHeight) {
      // The next whole multiple is larger than the picture: filtering it down keeps every row.
      fit.prescale = whole + 1;
      fit.smooth = true;
      if (largest_texture > 0) {
        fit.prescale = std::clamp(largest_texture / kScreenWidth, 1, fit.prescale);
      }
    }
  }
  fit.picture.x = (output_width - fit.picture.width) / 2;
  fit.picture.y = (output_height - fit.picture.height) / 2;
  return fit;
}

PointerPosition CanvasPixelAt(const Viewport& picture, int output_x, int output_y) {
  if (picture.width <= 0 || picture.height <= 0) return {};
  auto along = [](int output, int start, int size, int canvas_size) {
    // The output pixel's centre, (output - start + 1/2), in canvas pixels.
    const std::int64_t doubled = 2 * (std::int64_t{output} - start) + 1;
    const std::int64_t pixel = FloorDivide(doubled * canvas_size, 2 * std::int64_t{size});
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(pixel, 0, canvas_size - 1));
  };
  return {along(output_x, picture.x, picture.width, kScreenWidth),
          along(output_y, picture.y, picture.height, kScreenHeight)};
}

int OutputPixelOfPoint(int point, int points, int pixels) {
  if (points <= 0 || points == pixels) return point;
  const std::int64_t doubled = 2 * std::int64_t{point} + 1;
  return static_cast<int>(
      std::clamp<std::int64_t>(FloorDivide(doubled * pixels, 2 * std::int64_t{points}),
                               std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

Viewport PlaceWindow(int width, int height, const Viewport& room, const WindowFrame& frame) {
  // Along one axis: the outer window's start, centred in the room and never before its start.
  const auto along = [](std::int64_t start, std::int64_t size, std::int64_t inner,
                        std::int64_t before, std::int64_t after) {
    const std::int64_t outer = inner + before + after;
    const std::int64_t placed = start + std::max<std::int64_t>(0, (size - outer) / 2) + before;
    return static_cast<int>(std::clamp<std::int64_t>(placed, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
  };
  return {along(room.x, room.width, width, frame.left, frame.right),
          along(room.y, room.height, height, frame.top, frame.bottom), width, height};
}

Viewport FitWindow(int width, int height, int room_width, int room_height) {
  if (room_width <= 0 || room_height <= 0 || width <= 0 || height <= 0) {
    return {0, 0, width, height};
  }
  if (width <= room_width && height <= room_height) return {0, 0, width, height};
  // The side that runs out of room first sets the size; the other follows the aspect, rounded
  // down so that it fits too. (In 64 bits: the products of two ints cannot overflow.)
  const std::int64_t w = width;
  const std::int64_t h = height;
  if (room_width * h <= room_height * w) {
    return {0, 0, room_width, static_cast<int>(std::max<std::int64_t>(1, room_width * h / w))};
  }
  return {0, 0, static_cast<int>(std::max<std::int64_t>(1, room_height * w / h)), room_height};
}

}  // namespace starvane
