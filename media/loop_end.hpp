#pragma once

namespace starvane {

// Why a loop that presents frames (flight, the STATS panel, the launcher) ended.
enum class LoopEnd {
  Escape,      // Escape was down at the end of a frame
  Closed,      // the window was closed or the process told to stop: ends like Escape
  FrameLimit,  // --frames: ends like a program stopped from outside, nothing is saved
  // A film (app/film*) goes back to a kept point of the game: every loop ends at once and
  // passes it up, and the film takes the game back and enters the frame loop again. Never the
  // end of a game.
  Seek,
};

}  // namespace starvane
