#include "media/sdl/pushed_input.hpp"

#include <SDL.h>

#include <initializer_list>

#include "media/sdl/sdl_keys.hpp"

namespace starvane {

void PushKeyTap(int code, bool shift) {
  for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event event{};
    event.key.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = ScancodeOfKeyCode(code);
    event.key.keysym.mod = shift ? KMOD_LSHIFT : KMOD_NONE;
    SDL_PushEvent(&event);
  }
}

void PushLeftButton(int x, int y, bool down) {
  SDL_Event event{};
  event.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.button = SDL_BUTTON_LEFT;
  event.button.x = x;
  event.button.y = y;
  SDL_PushEvent(&event);
}

void PushPointerMove(int x, int y) {
  SDL_Event event{};
  event.motion.type = SDL_MOUSEMOTION;
  event.motion.x = x;
  event.motion.y = y;
  SDL_PushEvent(&event);
}

}  // namespace starvane
