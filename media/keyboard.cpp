#include "media/keyboard.hpp"

namespace starvane {

int Keyboard::Examine(const KeyStates* captured) {
  if (captured == nullptr) return 0;
  state_ = *captured;
  return 1;
}

int Keyboard::KeyboardPushed(int key) const {
  if (key == -1) {
    for (std::uint8_t down : state_) {
      if (down) return 1;
    }
    return 0;
  }
  if (key < 0 || key >= kKeyCount) return 0;
  return state_[static_cast<std::size_t>(key)] ? 1 : 0;
}

int Keyboard::KeyboardReleased(int key) {
  if (key < 0 || key >= kKeyCount) return 0;
  const auto k = static_cast<std::size_t>(key);
  if (state_[k]) {
    seen_down_[k] = 1;
    return 0;
  }
  if (seen_down_[k]) {
    seen_down_[k] = 0;
    return 1;
  }
  return 0;
}

void ShortcutKeys::Take(int key) {
  if (key >= 0 && key < kKeyCount) taken_[static_cast<std::size_t>(key)] = 1;
}

void ShortcutKeys::Release(int key) {
  if (key >= 0 && key < kKeyCount) taken_[static_cast<std::size_t>(key)] = 0;
}

void ShortcutKeys::HideFrom(KeyStates& keys) const {
  for (std::size_t k = 0; k < keys.size(); ++k) {
    if (taken_[k]) keys[k] = 0;
  }
}

}  // namespace starvane
