#pragma once
// The built-in text fonts, fixed cells 13 pixels high for the characters 32 to 255 (ISO 8859-1,
// the first 256 code points of Unicode): the game's own, 8 pixels wide and bold (the HUD, the
// STATS page), and the narrower one of the launcher's gadgets, 6 pixels wide, so that "Crazy
// Spacey" fits its button.

#include <array>
#include <cstdint>

namespace starvane {

constexpr int kFontWidth = 8;
constexpr int kFontHeight = 13;
constexpr int kFontFirstByte = 32;
constexpr int kFontLastByte = 255;

// One row a byte, top row first; the leftmost pixel is the top bit.
using Glyph = std::array<std::uint8_t, kFontHeight>;

using FontGlyphs = std::array<Glyph, kFontLastByte - kFontFirstByte + 1>;
extern const FontGlyphs kFontGlyphs;        // 8 x 13, bold
extern const FontGlyphs kGadgetFontGlyphs;  // 6 x 13; the top row of every glyph is blank

struct Font {
  int width;
  const FontGlyphs* glyphs;
};
inline constexpr Font kGameFont{kFontWidth, &kFontGlyphs};
constexpr int kGadgetFontWidth = 6;
inline constexpr Font kGadgetFont{kGadgetFontWidth, &kGadgetFontGlyphs};

// The font has no glyphs of its own for DEL and the control codes 128 to 159: their cells hold
// its default character, a dotted box. That box also stands in for every character the font
// lacks, and for each byte of text that is no valid UTF-8.
constexpr int kFontStandInByte = 127;

}  // namespace starvane
