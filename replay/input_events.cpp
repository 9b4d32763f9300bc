#include "replay/input_events.hpp"

#include <algorithm>
#include <utility>

namespace starvane {

void ScriptedInput::ApplyEventsUpTo(std::int64_t frames_presented) {
  const std::vector<InputEvent>& events = *events_;
  for (; next_ < events.size() && events[next_].frame <= frames_presented; ++next_) {
    const InputEvent& event = events[next_];
    switch (event.type) {
      case InputEvent::Type::KeysDown:
      case InputEvent::Type::KeysUp:
        for (int key : event.keys) {
          if (key >= 0 && key < kKeyCount) {
            const bool down = event.type == InputEvent::Type::KeysDown;
            keys_[static_cast<std::size_t>(key)] = down;
            key_events_.push_back({down ? KeyEvent::Kind::Down : KeyEvent::Kind::Up, key});
          }
        }
        break;
      case InputEvent::Type::MouseMove:
        // Saturating, so that no script can overflow the sum.
        mouse_.dx = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(std::int64_t{mouse_.dx} + event.dx, INT32_MIN, INT32_MAX));
        mouse_.dy = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(std::int64_t{mouse_.dy} + event.dy, INT32_MIN, INT32_MAX));
        break;
      case InputEvent::Type::Pointer:
        // Movement before the pointer was put somewhere counts no more.
        mouse_.pointer = PointerPosition{event.dx, event.dy};
        mouse_.dx = 0;
        mouse_.dy = 0;
        break;
      case InputEvent::Type::Wheel:
        mouse_.wheel = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(std::int64_t{mouse_.wheel} + event.dx, INT32_MIN, INT32_MAX));
        break;
      case InputEvent::Type::Type:
        key_events_.push_back({KeyEvent::Kind::Text, 0, event.text});
        break;
      case InputEvent::Type::FocusLost:
        // A window without the focus hears no key go up: every held key is let go.
        for (int key = 0; key < kKeyCount; ++key) {
          auto& down = keys_[static_cast<std::size_t>(key)];
          if (down) key_events_.push_back({KeyEvent::Kind::Up, key});
          down = 0;
        }
        focus_lost_ = true;
        break;
      case InputEvent::Type::ButtonPress:
      case InputEvent::Type::ButtonRelease:
        if (event.button >= 1 && event.button <= 3) {
          mouse_.buttons[static_cast<std::size_t>(event.button - 1)] =
              event.type == InputEvent::Type::ButtonPress;
        }
        break;
    }
  }
}

bool ScriptedInput::CaptureKeyboard(std::int64_t frames_presented, KeyStates& keys) {
  ApplyEventsUpTo(frames_presented);
  keys = keys_;
  return true;
}

MouseInput ScriptedInput::CaptureMouse(std::int64_t frames_presented) {
  ApplyEventsUpTo(frames_presented);
  MouseInput captured = mouse_;
  mouse_.dx = 0;
  mouse_.dy = 0;
  mouse_.pointer.reset();
  mouse_.wheel = 0;
  return captured;
}

KeyEvents ScriptedInput::CaptureKeyEvents(std::int64_t frames_presented) {
  ApplyEventsUpTo(frames_presented);
  return std::exchange(key_events_, {});
}

bool ScriptedInput::CaptureFocusLost(std::int64_t frames_presented) {
  ApplyEventsUpTo(frames_presented);
  return std::exchange(focus_lost_, false);
}

}  // namespace starvane
