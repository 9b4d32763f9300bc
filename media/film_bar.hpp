#pragma once
// The film's controls on the desktop (Display::ShowFilm): a bar along the bottom of the picture
// with a play/pause button, the timeline (its played part and the position), the time
// "m:ss / m:ss", the speed and, at the film's end, "ended". Like a notice it is laid over the
// picture by the presentation and is never part of the back buffer.
//
// Plain arithmetic and pixels, so that what the bar shows and where a click lands agree on
// every screen. The bar is drawn in bar pixels and enlarged by a whole multiple that follows
// the picture's size (1 up to a picture of 900 rows, 2 up to 1500, ...): its text stays crisp
// and readable however large or small the window is, and a narrow picture gets a bar of its own
// width that leaves out the time and then the speed rather than shrinking them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "media/film_controls.hpp"
#include "media/screen_fit.hpp"  // Viewport

namespace starvane {

constexpr int kFilmBarHeight = 24;  // in bar pixels
// The game's pace, which turns the film's frames into its minutes and seconds.
constexpr int kFilmFramesPerSecond = 50;

// Where the bar goes over a picture (in output pixels, as ScreenFit::picture): `area` is the
// rectangle it fills, `width` its width in bar pixels and `scale` the output pixels of a bar
// pixel.
struct FilmBarPlace {
  Viewport area;
  int width = 0;
  int scale = 1;
};
FilmBarPlace PlaceFilmBar(const Viewport& picture);

// The bar's picture: place.width x kFilmBarHeight pixels, row by row, as 0xAARRGGBB (a band of
// translucent black under everything).
std::vector<std::uint32_t> FilmBarPixels(const FilmState& state, int width);

// "m:ss" (minutes as many as it takes) of a number of the game's frames, rounded down.
std::string FilmTimeText(std::int64_t frames);
// The speed as the bar shows it: "¼x", "½x", "1x" ... "8x", in ISO 8859-1 (the font's own
// encoding: ¼ and ½ are single bytes there).
std::string FilmSpeedText(int quarters);

// What is under an output pixel: the play/pause button, the timeline, or nothing of the bar.
enum class FilmBarPart { None, Button, Timeline };
FilmBarPart FilmBarPartAt(const FilmBarPlace& place, std::int64_t length, int output_x,
                          int output_y);
// The frame a click or a drag at this output column seeks to: the timeline's share of the
// film, 0 at its left end and `length` at its right, clamped beyond either end (a drag may
// leave the bar).
std::int64_t FilmFrameAtColumn(const FilmBarPlace& place, std::int64_t length, int output_x);

// The viewer's keys (by key code, media/keys.hpp), with Shift held or not: Space pauses or plays;
// Right or "." steps a frame; Left goes 5 s back and Shift+Right 5 s on; Page Up and Page Down
// a minute back and on; Home and End to either end; "-" and "+" (or "=", and the keypad's)
// slower and faster; 1 to 9 seek to 10% to 90% of a film of this length. Nothing for any other
// key (Escape, which closes the film, is the display's).
std::optional<FilmCommand> FilmCommandOfKey(int key, bool shift, std::int64_t length);

}  // namespace starvane
