#pragma once
// The 800 x 600 back buffer, 16 bits a pixel (RGB565), and the primitives the game draws with.
// Plain C++ with no platform code, so every pixel can be checked in a test. Every primitive
// clips: any coordinates, however far off the surface, are legal and draw only what is visible.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "media/font.hpp"

namespace starvane {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// A colour reduced to the screen's format: red and blue keep their top 5 bits, green its top 6.
// Channels outside 0..255 are clamped first, so they never spill into another channel.
std::uint16_t ScreenColor(int red, int green, int blue);

class Canvas {
 public:
  Canvas();

  // Fills the whole back buffer.
  void ClearScreen(int red, int green, int blue);

  // Begins drawing: the front and back colours are black again.
  void StartDrawing();
  void StopDrawing() {}

  // The colour of all following primitives and of text.
  void FrontColor(int red, int green, int blue) { front_ = ScreenColor(red, green, blue); }
  // The colour behind the characters of text: text cells are opaque.
  void BackColor(int red, int green, int blue) { back_ = ScreenColor(red, green, blue); }

  void Plot(int x, int y);
  // A filled rectangle covering x..x+width-1, y..y+height-1; nothing when either side is <= 0.
  void Box(int x, int y, int width, int height);
  // A filled disc centred on (x, y) inside the square x-radius..x+radius-1 (and likewise in y):
  // the pixels whose centres lie within radius of the point (x, y).
  void Circle(int x, int y, int radius);
  // A 1-pixel line from (x1, y1) towards (x2, y2), the end pixel itself not drawn; the text
  // position is left at (x2, y2).
  void LineXY(int x1, int y1, int x2, int y2);

  // The top-left corner of the next text.
  void Locate(int x, int y);
  // The UTF-8 text in a built-in font (the game's own unless told), each character an opaque
  // cell of the font; the text position then stands at the end of the text. The fonts hold
  // ISO 8859-1; any other character, and each byte that is no valid UTF-8, shows the font's
  // stand-in box.
  void DrawText(std::string_view text, const Font& font = kGameFont);

  // Halves every pixel's colour: a picture that stays recognisable behind what is drawn over it.
  void Dim();

  std::uint16_t Pixel(int x, int y) const;  // 0 outside the surface
  const std::vector<std::uint16_t>& Pixels() const { return pixels_; }
  int TextX() const { return text_x_; }
  int TextY() const { return text_y_; }

  // What drawing goes on with besides the pixels: the two colours and the text position. A film
  // keeps it with the game (app/film*) and gives it back when it goes back to that point.
  struct Pen {
    std::uint16_t front = 0;
    std::uint16_t back = 0;
    int text_x = 0;
    int text_y = 0;
  };
  Pen CurrentPen() const { return {front_, back_, text_x_, text_y_}; }
  void TakePen(const Pen& pen) {
    front_ = pen.front;
    back_ = pen.back;
    text_x_ = pen.text_x;
    text_y_ = pen.text_y;
  }

 private:
  void Span(int y, std::int64_t left, std::int64_t right);  // inclusive, clipped here

  std::vector<std::uint16_t> pixels_;
  std::uint16_t front_ = 0;
  std::uint16_t back_ = 0;
  int text_x_ = 0;
  int text_y_ = 0;
};

// The FNV-1a hash of the canvas's pixels, row by row from the top left, each RGB565 pixel as its
// low byte and then its high byte: one number that tells two frames apart.
std::uint64_t FrameHash(const Canvas& canvas);

}  // namespace starvane
