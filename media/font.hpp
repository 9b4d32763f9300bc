#pragma once
// The built-in text font: fixed cells of 8 x 13 pixels for the characters 32 to 255
// (ISO 8859-1, the first 256 code points of Unicode).

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

// The font has no glyphs of its own for DEL and the control codes 128 to 159: their cells hold
// its default character, a dotted box. That box also stands in for every character the font
// lacks, and for each byte of text that is no valid UTF-8.
constexpr int kFontStandInByte = 127;

}  // namespace starvane
