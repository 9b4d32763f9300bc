#pragma once

#include "app/notices.hpp"
#include "app/options_page.hpp"
#include "world/game.hpp"

namespace starvane {

// Opens the screen (800 x 600, 16 bits, "Starvane") and sets the frame rate (50). False when the
// screen could not be opened.
bool SetupMedia(Game& game);

// Runs frame after frame until Escape is down at the end of a frame, or until the media layer
// reports an end (asked before each frame, the STATS panel's and the pause's own frames
// included). P, or a window that lost the focus, pauses between two frames (app/pause.hpp).
// Notices, when given, watch every frame after the controls (app/notices.hpp); the options
// page, when given, opens from the pause (app/pause.hpp).
LoopEnd RunFrameLoop(Game& game, Notices* notices = nullptr, OptionsPage* options = nullptr);

}  // namespace starvane
