#include "sound/held_sounds.hpp"

namespace starvane {

void CueHeldSounds(Game& game) {
  SoundCues& sounds = game.Sounds;
  if (game.Boost.Active == 1) sounds.AddUnplaced(SoundCueKind::BoostRunning);
  if (game.Shock.Active == 1) sounds.AddUnplaced(SoundCueKind::ShockRunning);
}

}  // namespace starvane
