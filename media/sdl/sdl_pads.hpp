#pragma once
// The game controllers plugged in, through SDL's game controller layer: each is opened when it
// arrives (also those present at the start, which SDL announces the same way) and closed when
// it is pulled out; its buttons and axes become the game's keys (media/pad_keys.hpp). Those
// still open at the end are closed by SDL_Quit, which the screen calls after its last use.

#include <SDL.h>

#include <map>

#include "media/keys.hpp"
#include "media/pad_keys.hpp"

namespace starvane {

class SdlPads {
 public:
  // Takes a controller event (arrived, removed, button, axis); any other event is left alone.
  void Handle(const SDL_Event& event);

  // Adds the keys the controllers hold to the keyboard's state.
  void HoldKeys(KeyStates& keys);

 private:
  struct Pad {
    SDL_GameController* controller = nullptr;
    PadKeys keys;
  };
  std::map<SDL_JoystickID, Pad> pads_;
};

}  // namespace starvane
