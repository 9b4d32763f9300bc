#include "sound/held_sounds.hpp"

#include "media/keys.hpp"

namespace starvane {

void CueHeldSounds(Game& game) {
  const Media& media = game.media;
  SoundCues& sounds = game.Sounds;
  if (media.KeyboardPushed(kKeyUp) && game.Life.Value > 0) {
    sounds.AddUnplaced(SoundCueKind::ThrustHeld);
  }
  if (game.Boost.Active == 1) sounds.AddUnplaced(SoundCueKind::BoostRunning);
  if (game.Shock.Active == 1) sounds.AddUnplaced(SoundCueKind::ShockRunning);
  if (media.KeyboardPushed(kKeyT) && game.Energie.Value > 0 && game.TeleportCharge > 0) {
    sounds.AddUnplaced(SoundCueKind::TeleportCharge, game.TeleportCharge);
  }
}

}  // namespace starvane
