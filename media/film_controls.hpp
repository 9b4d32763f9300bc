#pragma once
// Watching a recording as a film: what the viewer asks of it and what its controls show. The
// controls belong to the presentation (drawn over the picture, or the page's own), never to the
// back buffer, so the film's frames are the game's; the viewer's keys and clicks reach the film
// as commands and never the game, whose input is the recording.

#include <cstdint>

namespace starvane {

// Speeds are counted in quarters: 1 is a quarter of the game's pace, 4 its own, 32 eight times.
inline constexpr int kFilmSlowestQuarters = 1;
inline constexpr int kFilmNormalQuarters = 4;
inline constexpr int kFilmFastestQuarters = 32;

// What the film's controls show, handed to the display at every frame the film presents.
struct FilmState {
  std::int64_t frame = 0;   // frames of the game presented so far
  std::int64_t length = 0;  // the recording's frames: the timeline runs from 0 to this
  int quarters = kFilmNormalQuarters;
  bool paused = false;
  bool ended = false;  // the film stands at its last frame
};

struct FilmCommand {
  enum class Kind {
    TogglePause,  // pause a playing film, play a paused one (from the start once it ended)
    Step,         // pause, and go one frame forward
    Slower,       // halve the speed, down to a quarter
    Faster,       // double it, up to eight times
    SetSpeed,     // value: the speed in quarters (1, 2, 4, 8, 16, 32)
    Seek,         // value: the frame to show, 0 to the length (clamped)
    SeekBy,       // value: frames forward (negative: back), clamped to the film
  };
  Kind kind = Kind::TogglePause;
  std::int64_t value = 0;
};

}  // namespace starvane
