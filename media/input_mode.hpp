#pragma once
// What the player's keys and game controller mean at the moment, told by the game to the live
// input (Media::SetInputMode). A script's input is the game's keys already and ignores it.

#include <cstdint>

namespace starvane {

enum class InputMode : std::uint8_t {
  // The launcher, its dialogs and the options page: keys are themselves (a name is typed, a
  // key is chosen); the controller moves between gadgets and presses them (its d-pad and stick
  // are the arrow keys, A is Return, B is Escape, the shoulders Tab, Y is O, Start is P, Back
  // is F1).
  Windows,
  // Flight: keys and controller make the game's keys through the player's bindings.
  Flight,
  // The pause: keys through the bindings (the pause key goes on), the controller as in Windows.
  Pause,
  // The STATS page: keys through the bindings; the controller's left stick and d-pad move the
  // game's pointer, A is its left button, B and Back close the page (C).
  Workshop,
  // The options page waits for a key to bind: every key and controller input comes as itself
  // (a controller's as its own code, media/key_bindings.hpp).
  Capture,
};

}  // namespace starvane
