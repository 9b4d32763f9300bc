#pragma once
// The player's keys, read once per frame after everything else: what they set acts from the
// next frame on.
//
//   Left / Right   turn            Up      thrust         Down   brake
//   Left Control   shield on/off   Space   fire           1 2 3  choose the weapon
//   T (held)       charge the teleport                    S      shock on/off
//   A / D          turn the turret C       STATS panel    B      boost on/off
//   Return         dash: ten times the speed

#include "world/game.hpp"

namespace starvane {

void HandleControls(Game& game);

}  // namespace starvane
