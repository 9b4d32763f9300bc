#include "media/canvas.hpp"

#include <algorithm>
#include <bit>
#include <limits>

#include "base/fnv1a.hpp"
#include "base/utf8_text.hpp"
#include "media/font.hpp"

namespace starvane {
namespace {

// Exact products of coordinates that may span the whole 32-bit range.
__extension__ using Wide = __int128;

constexpr std::int64_t Clamp(std::int64_t v, std::int64_t low, std::int64_t high) {
  return std::min(std::max(v, low), high);
}

std::uint16_t Channel(int value, int bits) {
  return static_cast<std::uint16_t>(Clamp(value, 0, 255) >> (8 - bits));
}

// floor(a / b) for b > 0.
std::int64_t FloorDiv(Wide a, Wide b) {
  Wide q = a / b;
  if (a % b != 0 && a < 0) --q;
  return static_cast<std::int64_t>(q);
}

// The largest r with r * r <= n (n below 2^126), or -1 when n < 0. Worked out two bits of n at a
// time in integers, as by hand: no float (long double would be the x87 unit's 80 bits on x86-64
// and a software 128-bit float on ARM) takes part in drawing.
std::int64_t IntegerSqrt(Wide n) {
  if (n <= 0) return n < 0 ? -1 : 0;
  const auto high = static_cast<std::uint64_t>(n >> 64);
  const int width =
      high != 0 ? 64 + std::bit_width(high) : std::bit_width(static_cast<std::uint64_t>(n));
  Wide bit = Wide{1} << ((width - 1) & ~1);  // the highest power of four not above n
  Wide rest = n;
  Wide root = 0;
  while (bit != 0) {
    if (rest >= root + bit) {
      rest -= root + bit;
      root = (root >> 1) + bit;
    } else {
      root >>= 1;
    }
    bit >>= 2;
  }
  return static_cast<std::int64_t>(root);
}

}  // namespace

std::uint16_t ScreenColor(int red, int green, int blue) {
  return static_cast<std::uint16_t>(Channel(red, 5) << 11 | Channel(green, 6) << 5 |
                                    Channel(blue, 5));
}

Canvas::Canvas() : pixels_(static_cast<std::size_t>(kScreenWidth) * kScreenHeight, 0) {}

void Canvas::ClearScreen(int red, int green, int blue) {
  std::fill(pixels_.begin(), pixels_.end(), ScreenColor(red, green, blue));
}

void Canvas::Dim() {
  // Each channel shifted down by one bit; the mask drops the bit that a shift moves from one
  // channel into the top of the next.
  for (std::uint16_t& pixel : pixels_) pixel = static_cast<std::uint16_t>((pixel >> 1) & 0x7BEF);
}

void Canvas::StartDrawing() {
  front_ = 0;
  back_ = 0;
}

std::uint16_t Canvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight) return 0;
  return pixels_[static_cast<std::size_t>(y) * kScreenWidth + static_cast<std::size_t>(x)];
}

void Canvas::Span(int y, std::int64_t left, std::int64_t right) {
  if (y < 0 || y >= kScreenHeight) return;
  left = std::max<std::int64_t>(left, 0);
  right = std::min<std::int64_t>(right, kScreenWidth - 1);
  if (left > right) return;
  auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * kScreenWidth;
  std::fill(row + left, row + right + 1, front_);
}

void Canvas::Plot(int x, int y) {
  Span(y, x, x);
}

void Canvas::Box(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  const std::int64_t top = std::max<std::int64_t>(y, 0);
  const std::int64_t bottom =
      std::min<std::int64_t>(std::int64_t{y} + height - 1, kScreenHeight - 1);
  for (std::int64_t row = top; row <= bottom; ++row) {
    Span(static_cast<int>(row), x, std::int64_t{x} + width - 1);
  }
}

void Canvas::Circle(int x, int y, int radius) {
  if (radius <= 0) return;
  // Pixel (px, py) is inside when its centre (px + 1/2, py + 1/2) lies within radius of (x, y);
  // doubled to stay in integers: (2px + 1 - 2x)^2 + (2py + 1 - 2y)^2 <= 4 radius^2.
  const std::int64_t top = std::max<std::int64_t>(std::int64_t{y} - radius, 0);
  const std::int64_t bottom =
      std::min<std::int64_t>(std::int64_t{y} + radius - 1, kScreenHeight - 1);
  const Wide limit = Wide{4} * radius * radius;
  for (std::int64_t py = top; py <= bottom; ++py) {
    const std::int64_t v = 2 * py + 1 - 2 * std::int64_t{y};
    // The largest |2px + 1 - 2x| allowed in this row, which is odd.
    std::int64_t u = IntegerSqrt(limit - Wide{v} * v);
    if (u % 2 == 0) --u;
    if (u < 0) continue;
    Span(static_cast<int>(py), x + (-u - 1) / 2, x + (u - 1) / 2);
  }
}

void Canvas::LineXY(int x1, int y1, int x2, int y2) {
  text_x_ = x2;
  text_y_ = y2;
  const std::int64_t dx = std::int64_t{x2} - x1;
  const std::int64_t dy = std::int64_t{y2} - y1;
  const std::int64_t adx = dx < 0 ? -dx : dx;
  const std::int64_t ady = dy < 0 ? -dy : dy;
  if (adx == 0 && ady == 0) return;
  // Step i = 0 .. steps-1 along the major axis; the minor coordinate is the nearest one to the
  // exact line (halves away from the start). Only the steps whose major coordinate lies on the
  // surface are visited, so even a line billions of pixels long costs at most 800 steps.
  const bool x_major = adx >= ady;
  const std::int64_t steps = x_major ? adx : ady;
  const std::int64_t minor_total = x_major ? ady : adx;
  const std::int64_t major_start = x_major ? x1 : y1;
  const std::int64_t minor_start = x_major ? y1 : x1;
  const std::int64_t major_dir = (x_major ? dx : dy) < 0 ? -1 : 1;
  const std::int64_t minor_dir = (x_major ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t major_size = x_major ? kScreenWidth : kScreenHeight;
  // Steps whose major coordinate major_start + dir * i lies in 0 .. major_size - 1.
  std::int64_t first = 0;
  std::int64_t last = steps - 1;
  if (major_dir > 0) {
    first = std::max(first, -major_start);
    last = std::min(last, major_size - 1 - major_start);
  } else {
    first = std::max(first, major_start - (major_size - 1));
    last = std::min(last, major_start);
  }
  if (first > last) return;
  // offset(i) = floor((2 i minor_total + steps) / (2 steps)), worked out once for the first
  // visible step and then carried along: each step adds 2 minor_total to the numerator, which is
  // at most one more whole 2 steps, since minor_total <= steps.
  const std::int64_t denominator = 2 * steps;
  const Wide numerator = Wide{2} * first * minor_total + steps;  // may pass 64 bits
  std::int64_t offset = 0;
  std::int64_t remainder = 0;
  if (numerator <= std::numeric_limits<std::int64_t>::max()) {
    const auto narrow = static_cast<std::int64_t>(numerator);  // the usual case, cheaper
    offset = narrow / denominator;
    remainder = narrow % denominator;
  } else {
    offset = FloorDiv(numerator, denominator);
    remainder = static_cast<std::int64_t>(numerator - Wide{offset} * denominator);
  }
  for (std::int64_t i = first; i <= last; ++i) {
    if (i > first) {
      remainder += 2 * minor_total;
      if (remainder >= denominator) {
        remainder -= denominator;
        ++offset;
      }
    }
    const std::int64_t major = major_start + major_dir * i;
    const std::int64_t minor = minor_start + minor_dir * offset;
    const std::int64_t px = x_major ? major : minor;
    const std::int64_t py = x_major ? minor : major;
    if (px >= 0 && px < kScreenWidth && py >= 0 && py < kScreenHeight) {
      pixels_[static_cast<std::size_t>(py) * kScreenWidth + static_cast<std::size_t>(px)] = front_;
    }
  }
}

void Canvas::Locate(int x, int y) {
  text_x_ = x;
  text_y_ = y;
}

void Canvas::DrawText(std::string_view text, const Font& font) {
  const FontGlyphs& glyphs = *font.glyphs;
  const int width = std::clamp(font.width, 0, 8);
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Character character = DecodeUtf8(text, at);
    at += character.length;
    const Glyph* glyph = nullptr;  // control characters show as blank cells
    if (!character.valid || character.code > kFontLastByte) {
      glyph = &glyphs[kFontStandInByte - kFontFirstByte];
    } else if (character.code >= kFontFirstByte) {
      glyph = &glyphs[static_cast<std::size_t>(character.code) - kFontFirstByte];
    }
    for (int row = 0; row < kFontHeight; ++row) {
      const std::int64_t y = std::int64_t{text_y_} + row;
      if (y < 0 || y >= kScreenHeight) continue;
      const std::uint8_t bits = glyph ? (*glyph)[static_cast<std::size_t>(row)] : 0;
      for (int column = 0; column < width; ++column) {
        const std::int64_t x = std::int64_t{text_x_} + column;
        if (x < 0 || x >= kScreenWidth) continue;
        pixels_[static_cast<std::size_t>(y * kScreenWidth + x)] =
            (bits & (0x80 >> column)) ? front_ : back_;
      }
    }
    // Saturates rather than overflows for text placed at the far right of the number range.
    text_x_ = static_cast<int>(std::min<std::int64_t>(std::int64_t{text_x_} + width, INT32_MAX));
  }
}

std::uint64_t FrameHash(const Canvas& canvas) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(canvas.Pixels().size() * 2);
  for (std::uint16_t pixel : canvas.Pixels()) {
    bytes.push_back(static_cast<std::uint8_t>(pixel & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(pixel >> 8));
  }
  return Fnv1a64(bytes);
}

}  // namespace starvane
