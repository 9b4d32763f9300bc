#pragma once
// Before a film is shown, a copy of its game plays the whole recording headless, as fast as it
// goes, and keeps the snapshots a seek starts from: every seek, however far ahead, then has one
// near its frame.

#include <cstdint>

#include "app/film_snapshots.hpp"
#include "media/backend.hpp"
#include "media/loop_end.hpp"
#include "world/game.hpp"

namespace starvane {

struct RunAheadEnd {
  LoopEnd end = LoopEnd::Escape;  // how the recording's game ended
  std::int64_t length = 0;        // the film's frames: those presented until it ended
  bool stopped = false;           // the viewer closed the film (or a quit signal came) meanwhile
};

// Plays from the first snapshot (the film's start) to the end of the recording on a game of its
// own, keeping snapshots as they fall due. The viewer's display is asked for its window messages
// now and then meanwhile, so that its window answers and can be closed, which stops the run.
RunAheadEnd RunAhead(const Game& film, FilmSnapshots& snapshots, Display& viewer);

}  // namespace starvane
