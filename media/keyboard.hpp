#pragma once
// The keyboard as the game reads it: a state of all 256 keys captured once per examination.

#include <cstdint>

#include "media/keys.hpp"

namespace starvane {

class Keyboard {
 public:
  // Takes a fresh capture. A failed capture (nullptr) keeps the previous state and returns 0.
  int Examine(const KeyStates* captured);

  // Non-zero while the key is down in the last capture; key -1 asks for any key.
  int KeyboardPushed(int key) const;

  // 1 exactly once per press: at the first call on which the key is up after a call that saw it
  // down. Only these calls update the key's seen-down flag, so a key pressed and released
  // between two calls is not reported.
  int KeyboardReleased(int key);

 private:
  KeyStates state_{};
  KeyStates seen_down_{};
};

// Keys that went down as part of a window shortcut (Return of Alt+Enter): hidden from the game
// until they are released, so that the shortcut does not act in the game too.
class ShortcutKeys {
 public:
  void Take(int key);     // the key went down as part of a shortcut
  void Release(int key);  // the key went up
  void HideFrom(KeyStates& keys) const;

 private:
  KeyStates taken_{};
};

}  // namespace starvane
