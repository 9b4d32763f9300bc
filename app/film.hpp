#pragma once
// Watching a recording as a film (--watch): the game plays the recording (its media's input
// script) on the real display, and the viewer pauses, steps, changes the speed and seeks
// through it with the display's film controls (media/film_controls.hpp). The frames are the
// game's own: a seek to a frame shows exactly the frame a straight play shows there.
//
// How it seeks: before the film is shown, a copy of the game plays the whole recording unseen
// and keeps snapshots of the whole game every few seconds (app/film_run_ahead.hpp). A seek
// forward runs the game on, unseen, when that is nearer; any other seek makes every loop end
// (LoopEnd::Seek, from the pause and the STATS page too), takes the game back to the last
// snapshot before the frame and runs it forward, unseen, to the frame.

#include <cstddef>
#include <cstdint>

#include "media/loop_end.hpp"
#include "world/game.hpp"

namespace starvane {

struct FilmSettings {
  // At its end the film stands at its last frame, paused, until the viewer seeks or closes it;
  // false: it ends there (a headless film plays to its end as fast as it can, and stops).
  bool stay_at_end = true;
  // The snapshots: how many frames apart at first, and how many at most.
  std::int64_t snapshot_every = 250;
  std::size_t most_snapshots = 64;
};

// Plays the film in place of the frame loop, from where the game stands (the top of its frame
// loop). Returns LoopEnd::Closed when the viewer closed it (or a quit signal came), else how the
// recording's game ended; the game is left at the film's last frame.
LoopEnd RunFilm(Game& game, const FilmSettings& settings = {});

}  // namespace starvane
