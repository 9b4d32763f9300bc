#pragma once

#include "world/game.hpp"

namespace starvane {

// Tells the sound what runs in this game frame: the boost and the shock (the controls tell of
// the thrust and the teleport's charge where they act). Called once a game frame, after the
// controls; frames without it (the STATS page, a pause) let these hums die away. Reads the
// game, changes nothing, draws no random numbers.
void CueHeldSounds(Game& game);

}  // namespace starvane
