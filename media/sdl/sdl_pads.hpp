#pragma once
// The game controllers plugged in, through SDL's game controller layer: each is opened when it
// arrives (also those present at the start, which SDL announces the same way) and closed when
// it is pulled out; the pad keys their buttons and axes hold (media/pad_keys.hpp), all
// controllers together, go to the live keys (media/live_keys.hpp) as they change. Those still
// open at the end are closed by SDL_Quit, which the screen calls after its last use.

#include <SDL.h>

#include <map>

#include "media/keys.hpp"
#include "media/live_keys.hpp"
#include "media/pad_keys.hpp"

namespace starvane {

class SdlPads {
 public:
  // Takes a controller event (arrived, removed, button, axis) and tells the live keys of the pad
  // keys it pressed or let go; any other event is left alone.
  void Handle(const SDL_Event& event, LiveKeys& keys);

 private:
  void TellChanges(LiveKeys& keys);

  struct Pad {
    SDL_GameController* controller = nullptr;
    PadKeys keys;
  };
  std::map<SDL_JoystickID, Pad> pads_;
  KeyStates held_{};  // the pad keys held by any controller, as last told
};

}  // namespace starvane
