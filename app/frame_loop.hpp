#pragma once

#include "world/game.hpp"

namespace starvane {

// Opens the screen and the input devices, in this order: InitScreen, OpenScreen (800 x 600,
// 16 bits, "Starvane"), SetFrameRate (50), InitKeyboard, InitMouse. False when the screen could
// not be opened.
bool SetupMedia(Game& game);

// How the frame loop ended.
enum class LoopEnd {
  Escape,      // Escape was down at the end of a frame
  Closed,      // the window was closed or the process told to stop: ends like Escape
  FrameLimit,  // --frames: ends like a program stopped from outside, nothing is saved
};

// Runs frame after frame until one of the ends above.
LoopEnd RunFrameLoop(Game& game);

}  // namespace starvane
