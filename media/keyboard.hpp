#pragma once
// The keyboard as the game reads it: a state of all 256 keys captured once per examination.

#include <cstdint>

#include "media/keys.hpp"

namespace starvane {

class Keyboard {
 public:
  // Takes a fresh capture. A failed capture (nullptr) keeps the previous state and returns 0.
  int Examine(const KeyStates* captured);

  // The game's name for "held": non-zero while the key is down in the last capture (not "went
  // down": that is Media::KeyWentDown); key -1 asks for any key. It changes nothing.
  int KeyboardPushed(int key) const;

  // The game's name, though it is a query that changes state: 1 exactly once per press, at the
  // first call on which the key is up after a call that saw it down. Only these calls update the
  // key's seen-down flag, so a key pressed and released between two calls is not reported, and
  // a call that answers 1 consumes the release: whoever asks first takes it. The callers rely
  // on that. The flight controls ask for Left Control before asking whether the ship lives, and
  // for Return before asking whether the frame teleported, so that a release in a frame that
  // ignores it is used up there rather than kept for a later frame. The STATS panel asks for the
  // C that closes it, so that the flight controls do not take the same C to open it again.
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
