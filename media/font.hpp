#pragma once
// The built-in text font: fixed cells of 8 x 13 pixels for the bytes 32 to 255 (ISO 8859-1).

#include <array>
#include <cstdint>

namespace starvane {

constexpr int kFontWidth = 8;
constexpr int kFontHeight = 13;
constexpr int kFontFirstByte = 32;
constexpr int kFontLastByte = 255;

// One row a byte, top row first; the leftmost pixel is the top bit.
using Glyph = std::array<std::uint8_t, kFontHeight>;

extern const std::array<Glyph, kFontLastByte - kFontFirstByte + 1> kFontGlyphs;

}  // namespace starvane
