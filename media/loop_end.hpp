#pragma once

namespace starvane {

// Why a loop that presents frames (flight, the STATS panel, the launcher) ended.
enum class LoopEnd {
  Escape,      // Escape was down at the end of a frame
  Closed,      // the window was closed or the process told to stop: ends like Escape
  FrameLimit,  // --frames: ends like a program stopped from outside, nothing is saved
};

}  // namespace starvane
