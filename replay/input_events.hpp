#pragma once
// Scripted input: key, mouse and button changes, each in effect from a given frame on.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/backend.hpp"
#include "media/loop_end.hpp"

namespace starvane {

struct InputEvent {
  enum class Type {
    KeysDown,
    KeysUp,
    MouseMove,
    ButtonPress,
    ButtonRelease,
    Pointer,
    Wheel,
    Type,
    FocusLost,  // every key goes up, and the examination reports the focus lost
  };
  // In effect for every examination made after this many frames have been presented.
  std::int64_t frame = 0;
  Type type = Type::KeysDown;
  std::vector<int> keys;  // KeysDown, KeysUp: key codes 0..255
  int dx = 0;             // MouseMove; Pointer: the position; Wheel: the steps in dx
  int dy = 0;
  int button = 1;      // ButtonPress, ButtonRelease: 1..3
  std::string text{};  // Type: the bytes typed
};

// A scripted game ends before frame `frame` is drawn, as a game ended this way.
struct ScriptEnd {
  std::int64_t frame = 0;
  LoopEnd reason = LoopEnd::Closed;
};

// Plays a list of events (in order of their frames) back as keyboard and mouse states.
class ScriptedInput final : public InputSource {
 public:
  // The keys held: those held when the recorded game began, until the events let them go.
  explicit ScriptedInput(std::vector<InputEvent> events, std::optional<ScriptEnd> end = {},
                         const KeyStates& held = {})
      : events_(std::make_shared<const std::vector<InputEvent>>(std::move(events))),
        end_(end),
        keys_(held) {}

  bool CaptureKeyboard(std::int64_t frames_presented, KeyStates& keys) override;
  MouseInput CaptureMouse(std::int64_t frames_presented) override;
  // Every key of a "down" or "up" line and every "type" line, in the script's order.
  KeyEvents CaptureKeyEvents(std::int64_t frames_presented) override;
  bool CaptureFocusLost(std::int64_t frames_presented) override;
  std::optional<LoopEnd> EndAt(std::int64_t frames_presented) const override {
    if (end_ && frames_presented >= end_->frame) return end_->reason;
    return {};
  }
  // Copies share the events, so a copy costs the position in them only.
  std::unique_ptr<InputSource> Copy() const override {
    return std::make_unique<ScriptedInput>(*this);
  }

 private:
  void ApplyEventsUpTo(std::int64_t frames_presented);

  std::shared_ptr<const std::vector<InputEvent>> events_;
  std::optional<ScriptEnd> end_;
  std::size_t next_ = 0;
  KeyStates keys_{};
  MouseInput mouse_{};       // movement, pointer and wheel not yet captured, and the buttons held
  KeyEvents key_events_;     // not yet captured
  bool focus_lost_ = false;  // a "focus lost" line not yet captured
};

}  // namespace starvane
