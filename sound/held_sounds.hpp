#pragma once

#include "world/game.hpp"

namespace starvane {

// Tells the sound what is held in this game frame: the thrust (Up, while the ship lives), the
// boost and the shock while they run, the teleport's charge while T raises it. Called once a
// game frame, after the controls; frames without it (the STATS page, a pause) let these hums
// die away. Reads the game and the keyboard, changes nothing, draws no random numbers.
void CueHeldSounds(Game& game);

}  // namespace starvane
