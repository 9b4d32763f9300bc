#pragma once

#include "world/game.hpp"

namespace starvane {

// Opens the screen and the input devices, in this order: InitScreen, OpenScreen (800 x 600,
// 16 bits, "Starvane"), SetFrameRate (50), InitKeyboard, InitMouse. False when the screen could
// not be opened.
bool SetupMedia(Game& game);

// Runs frame after frame until one of the ends above.
LoopEnd RunFrameLoop(Game& game);

}  // namespace starvane
