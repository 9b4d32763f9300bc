#pragma once
// Scripted input: key, mouse and button changes, each in effect from a given frame on.

#include <cstdint>
#include <vector>

#include "media/backend.hpp"

namespace starvane {

struct InputEvent {
  enum class Type { KeysDown, KeysUp, MouseMove, ButtonPress, ButtonRelease };
  // In effect for every examination made after this many frames have been presented.
  std::int64_t frame = 0;
  Type type = Type::KeysDown;
  std::vector<int> keys;  // KeysDown, KeysUp: key codes 0..255
  int dx = 0;             // MouseMove
  int dy = 0;
  int button = 1;  // ButtonPress, ButtonRelease: 1..3
};

// Plays a list of events (in order of their frames) back as keyboard and mouse states.
class ScriptedInput final : public InputSource {
 public:
  explicit ScriptedInput(std::vector<InputEvent> events) : events_(std::move(events)) {}

  bool CaptureKeyboard(std::int64_t frames_presented, KeyStates& keys) override;
  MouseInput CaptureMouse(std::int64_t frames_presented) override;

 private:
  void ApplyEventsUpTo(std::int64_t frames_presented);

  std::vector<InputEvent> events_;
  std::size_t next_ = 0;
  KeyStates keys_{};
  MouseInput mouse_{};  // movement not yet captured, and the buttons held
};

}  // namespace starvane
