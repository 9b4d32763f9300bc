#pragma once

#include <SDL.h>

namespace starvane {

// The game's key code (a PC keyboard scan code) of an SDL scancode; 0 for keys it does not know.
int KeyCodeOfScancode(SDL_Scancode scancode);

// The SDL scancode of the game's key code; SDL_SCANCODE_UNKNOWN for codes it does not know.
SDL_Scancode ScancodeOfKeyCode(int code);

}  // namespace starvane
