#pragma once
// The voice of every cue of the game (world/sound_cues.hpp): each its own short synthesised
// character, and the hums of what is held.

#include <optional>

#include "sound/hum.hpp"
#include "sound/voice.hpp"
#include "world/sound_cues.hpp"

namespace starvane {

struct CueSound {
  Patch patch;
  std::optional<Patch> second;   // a second voice started with the first (a chime's next note)
  int most_per_frame = 2;        // the nearest ones of a frame are heard, the rest are not
  int least_frames_between = 0;  // a contact that lasts is heard again only after this pause
  bool varied = true;  // each one a little higher or lower, so that a salvo is no machine gun
  bool held = false;   // not a voice: it aims a hum (HumOfCue)
};

const CueSound& SoundOfCue(SoundCueKind kind);

enum HumIndex : int { kThrustHum, kBoostHum, kShockHum, kDrainHum, kTeleportHum, kHumCount };
HumPatch HumPatchOf(HumIndex hum);

}  // namespace starvane
