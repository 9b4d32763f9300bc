#pragma once
// Where the 800 x 600 picture goes on an output of any size, and which pixel of it a pointer
// shows. Plain arithmetic, so that the picture and the mouse agree to the pixel on every screen.
//
// Sharp (the default): the picture as large as the output allows with its 4:3 aspect, centred,
// black bars only for the aspect. It is first enlarged by a whole multiple with nearest pixels
// (the smallest at least as large as the final picture), then filtered linearly down to its
// size: edges stay crisp and no row or column is ever dropped. At an exact whole multiple the
// nearest pixels alone give the picture.
// Integer: the largest whole multiple that fits, nearest pixels only.
// In both, an output smaller than 800 x 600 gets the picture filtered linearly down, so that
// every row of the text stays.

#include "media/mouse.hpp"  // PointerPosition

namespace starvane {

enum class ScaleMode { Sharp, Integer };

// How the player wants the picture: in a window or full screen, and how it fills either.
struct ScreenOptions {
  bool windowed = false;               // a window instead of the desktop's full screen
  ScaleMode scale = ScaleMode::Sharp;  // how the 800 x 600 picture fills the screen
  bool operator==(const ScreenOptions&) const = default;
};

struct Viewport {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct ScreenFit {
  Viewport picture;     // in output pixels; empty when the output is
  int prescale = 1;     // the whole multiple the canvas is first enlarged by (nearest pixels)
  bool smooth = false;  // the enlarged canvas is then filtered linearly to the picture's size
};

// largest_texture: the renderer's longest texture side (0: no limit); the prescale stays within.
ScreenFit FitScreen(int output_width, int output_height, ScaleMode mode, int largest_texture = 0);

// The canvas pixel shown at an output pixel: the one whose area holds the output pixel's
// centre. A pixel beside the picture counts as the picture's nearest edge pixel.
PointerPosition CanvasPixelAt(const Viewport& picture, int output_x, int output_y);

// The size of a new window for a picture of width x height on a desktop whose free area is
// room_width x room_height (without the window's frame): the picture's own size where it fits,
// else the largest of its aspect that does, so that no part of the game is off the screen.
// Without a known room (a side 0 or less), the picture's own size.
Viewport FitWindow(int width, int height, int room_width, int room_height);

// The sides of a window's frame, drawn by the window manager around its client area.
struct WindowFrame {
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
};

// Where a window's client area of width x height goes on a desktop whose usable area (without
// panels) is `room`: the window, frame included, centred in that area and wholly inside it, so
// that its title bar is never above the screen; a window larger than the area keeps its
// top-left corner in it. Gives the client area's top-left corner (width and height as given).
Viewport PlaceWindow(int width, int height, const Viewport& room, const WindowFrame& frame);

// The output pixel under a window position, where the window's points and the output's pixels
// differ (a high-density screen has more pixels than points): the pixel that holds the point's
// centre.
int OutputPixelOfPoint(int point, int points, int pixels);

}  // namespace starvane
