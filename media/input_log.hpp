#pragma once
// Where the media layer reports every keyboard and mouse state the game examined, and how the
// game ended, so that a recording (replay/input_recorder.hpp) can play the same game again.
// The media layer knows only this interface, not what is written or where.

#include <cstdint>
#include <string>

#include "media/keys.hpp"
#include "media/loop_end.hpp"
#include "media/mouse.hpp"

namespace starvane {

class InputLog {
 public:
  virtual ~InputLog() = default;
  // Each examination, with the number of frames presented when it was made.
  // The keyboard's events, matched to its states (MatchKeyEvents): they lead to the state.
  virtual void NoteKeyEvents(std::int64_t frame, const KeyEvents& events) = 0;
  virtual void NoteMouse(std::int64_t frame, const MouseInput& mouse) = 0;
  // The window lost the focus before this examination (noted before its key events).
  virtual void NoteFocusLost(std::int64_t frame) = 0;
  // The game ended before this frame, this way.
  virtual void NoteEnd(std::int64_t frame, LoopEnd end) = 0;
  // Writes what is buffered; false when anything could not be written.
  virtual bool Finish() = 0;
  // Why the first write failed ("No space left on device"); "" when none did.
  virtual std::string FailureReason() const = 0;
};

}  // namespace starvane
