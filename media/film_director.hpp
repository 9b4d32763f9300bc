#pragma once
// How a film (app/film*) runs the show while a recording is watched. The game plays its own
// loops on the media layer as ever; the media layer asks the director before each frame, tells
// it of each frame counted and of each top of the frame loop, and itself presents, plays and
// writes nothing meanwhile.

#include <optional>

#include "media/loop_end.hpp"

namespace starvane {

class FilmDirector {
 public:
  virtual ~FilmDirector() = default;
  // At the top of the frame loop, the one place where the whole game is in its fields (and in
  // the media layer's): where a film keeps its snapshots.
  virtual void AtFrameLoopTop() {}
  // Before each frame of every loop (Media::ShouldEnd asks it first): how the loop must end
  // (LoopEnd::Seek to go back to a snapshot, Closed when the viewer closed the film), or
  // nothing to play the frame. A film that stands still waits in here.
  virtual std::optional<LoopEnd> BeforeFrame() = 0;
  // After each frame counted: flipped when it drew a new picture (Media::FlipBuffers), false
  // when the last one stays (Media::KeepFrame). The back buffer holds the frame's picture.
  virtual void AfterFrame(bool flipped) = 0;
};

}  // namespace starvane
