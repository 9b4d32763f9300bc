#include "sound/cue_sounds.hpp"

#include <array>

namespace starvane {
namespace {

// A patch written as its fields, in the order of Patch.
Patch Tone(float duration, float attack, float curve, Wave wave, float start_hz, float end_hz,
           float gain) {
  Patch patch;
  patch.duration = duration;
  patch.attack = attack;
  patch.curve = curve;
  patch.wave = wave;
  patch.start_hz = start_hz;
  patch.end_hz = end_hz;
  patch.gain = gain;
  return patch;
}

Patch WithNoise(Patch patch, float level, float start_hz, float end_hz, float tone = 1) {
  patch.noise = level;
  patch.noise_start_hz = start_hz;
  patch.noise_end_hz = end_hz;
  patch.tone = tone;
  return patch;
}

Patch WithFm(Patch patch, float ratio, float depth) {
  patch.fm_ratio = ratio;
  patch.fm_depth = depth;
  return patch;
}

Patch Delayed(Patch patch, float seconds) {
  patch.delay = seconds;
  return patch;
}

CueSound Voice1(Patch patch, int most_per_frame = 2, int least_frames_between = 0,
                bool varied = true) {
  return CueSound{patch, std::nullopt, most_per_frame, least_frames_between, varied, false};
}

CueSound Held() {
  CueSound sound;
  sound.held = true;
  return sound;
}

// What a cue without a voice of its own sounds like: nothing.
CueSound Silent() {
  CueSound sound;
  sound.patch.gain = 0;
  return sound;
}

std::array<CueSound, kSoundCueKinds> MakeTable() {
  std::array<CueSound, kSoundCueKinds> table;
  table.fill(Silent());
  auto set = [&table](SoundCueKind kind, CueSound sound) {
    table[static_cast<std::size_t>(kind)] = sound;
  };
  // Weapon 1 fires up to 25 times a second: a light, dry tick that falls an octave.
  set(SoundCueKind::Weapon1Shot,
      Voice1(WithNoise(Tone(0.045f, 0.002f, 2, Wave::Pulse, 1900, 950, 0.10f), 0.3f, 6000, 2000),
             1));
  // Weapon 2: a laser zap, a bright falling sweep with a metallic edge.
  set(SoundCueKind::Weapon2Shot,
      Voice1(WithFm(Tone(0.14f, 0.002f, 2, Wave::Sine, 1500, 260, 0.30f), 1.5f, 1.8f), 1));
  // Weapon 3's ball: a deep, slow whoomp with a breath of noise.
  set(SoundCueKind::Weapon3Shot,
      Voice1(WithNoise(Tone(0.5f, 0.012f, 2, Wave::Triangle, 110, 38, 0.55f), 0.6f, 900, 150), 1));
  // The enemies: a reedy falling pulse, pitched by the craft (size: its kind).
  set(SoundCueKind::EnemyShot,
      Voice1(WithFm(Tone(0.09f, 0.002f, 2, Wave::Pulse, 760, 380, 0.20f), 0.5f, 1.2f), 2));
  // A shot on a body: a short knock of noise over a falling tone. A ball passing through a body
  // hits it every frame: a knock every other frame is enough.
  set(SoundCueKind::BodyHit,
      Voice1(WithNoise(Tone(0.07f, 0.002f, 2, Wave::Sine, 320, 140, 0.22f), 0.7f, 3500, 700), 3,
             1));
  // A hit on the bare ship: a harsh metallic clang.
  set(SoundCueKind::ShipHit,
      Voice1(
          WithFm(WithNoise(Tone(0.26f, 0.002f, 2, Wave::Pulse, 230, 120, 0.50f), 0.5f, 2000, 300),
                 1.41f, 2.5f),
          1, 2));
  // A hit on the shield: a soft glassy bwong.
  set(SoundCueKind::ShieldHit,
      Voice1(WithFm(Tone(0.3f, 0.003f, 2.5f, Wave::Sine, 880, 660, 0.32f), 2.76f, 1.4f), 1, 2));
  // Blasts, deeper and longer the bigger the body.
  set(SoundCueKind::BigRockBlast,
      Voice1(WithNoise(Tone(0.95f, 0.004f, 2, Wave::Sine, 70, 30, 0.75f), 1, 1300, 70, 0.8f), 2));
  set(SoundCueKind::RockBlast,
      Voice1(WithNoise(Tone(0.65f, 0.003f, 2, Wave::Sine, 95, 40, 0.62f), 1, 1900, 110, 0.7f), 2));
  set(SoundCueKind::LittleRockBlast,
      Voice1(WithNoise(Tone(0.38f, 0.002f, 2, Wave::Sine, 140, 60, 0.48f), 1, 2600, 200, 0.6f), 2));
  set(SoundCueKind::FragmentBlast,
      Voice1(WithNoise(Tone(0.16f, 0.002f, 2.5f, Wave::None, 0, 0, 0.26f), 1, 4500, 700, 0), 2));
  set(SoundCueKind::CraftBlast,
      Voice1(
          WithFm(WithNoise(Tone(0.85f, 0.003f, 2, Wave::Pulse, 160, 38, 0.75f), 1, 2200, 90, 0.5f),
                 0.5f, 2.0f),
          2));
  // The glimmerhex: a long shimmering bell over a roar.
  {
    CueSound glimmer = Voice1(
        WithFm(Tone(1.9f, 0.004f, 1.5f, Wave::Sine, 1200, 180, 0.55f), 1.41f, 2.5f), 1, 0, false);
    glimmer.second = WithNoise(Tone(1.4f, 0.004f, 2, Wave::None, 0, 0, 0.75f), 1, 3000, 80, 0);
    set(SoundCueKind::GlimmerhexBlast, glimmer);
  }
  // A reward: a two-note coin chime.
  {
    CueSound coin =
        Voice1(WithFm(Tone(0.18f, 0.002f, 2, Wave::Sine, 1568, 1568, 0.16f), 2, 0.7f), 1, 0, false);
    coin.second =
        Delayed(WithFm(Tone(0.28f, 0.002f, 2, Wave::Sine, 2093, 2093, 0.16f), 2, 0.7f), 0.07f);
    set(SoundCueKind::Reward, coin);
  }
  // Switching on: the boost a rising whoosh, the shock an electric snap.
  set(SoundCueKind::BoostOn,
      Voice1(WithNoise(Tone(0.3f, 0.01f, 1.5f, Wave::Triangle, 200, 700, 0.28f), 0.8f, 300, 4000,
                       0.6f),
             1, 0, false));
  set(SoundCueKind::ShockOn,
      Voice1(WithFm(WithNoise(Tone(0.3f, 0.002f, 2, Wave::Pulse, 70, 140, 0.30f), 0.7f, 6000, 2500,
                              0.7f),
                    7.1f, 3.0f),
             1, 0, false));
  for (const SoundCueKind kind :
       {SoundCueKind::ThrustHeld, SoundCueKind::BoostRunning, SoundCueKind::ShockRunning,
        SoundCueKind::ShockStrike, SoundCueKind::Drain, SoundCueKind::TeleportCharge}) {
    set(kind, Held());
  }
  // The jump: a glassy sweep up through the octaves.
  set(SoundCueKind::Jump,
      Voice1(WithFm(WithNoise(Tone(0.55f, 0.01f, 1.5f, Wave::Sine, 300, 2400, 0.40f), 0.3f, 500,
                              6000, 0.8f),
                    1.5f, 2.0f),
             1, 0, false));
  // Death: the longest, deepest blast; the respawn a bright rise a moment later.
  set(SoundCueKind::Death,
      Voice1(WithNoise(Tone(1.6f, 0.004f, 2, Wave::Sine, 110, 24, 0.9f), 1, 1600, 45, 0.8f), 1, 0,
             false));
  set(SoundCueKind::Respawn,
      Voice1(Delayed(Tone(0.6f, 0.05f, 1.5f, Wave::Triangle, 400, 1250, 0.30f), 0.45f), 1, 0,
             false));
  // Contacts, louder the faster the ship (size: its speed); a lasting one repeats slowly.
  set(SoundCueKind::Bump,
      Voice1(WithNoise(Tone(0.22f, 0.002f, 2, Wave::Sine, 130, 50, 0.5f), 0.8f, 700, 100), 1, 6));
  set(SoundCueKind::ShieldBump,
      Voice1(WithFm(Tone(0.22f, 0.002f, 2, Wave::Sine, 520, 360, 0.32f), 2.76f, 1.0f), 1, 6));
  set(SoundCueKind::Hull,
      Voice1(WithNoise(Tone(0.16f, 0.01f, 1.5f, Wave::Pulse, 72, 60, 0.35f), 1, 900, 250, 0.4f), 1,
             8));
  // The STATS page: a bright rising pair for a purchase, a low buzz for a refusal.
  {
    CueSound buy = Voice1(Tone(0.12f, 0.002f, 2, Wave::Sine, 880, 880, 0.22f), 1, 0, false);
    buy.second = Delayed(Tone(0.2f, 0.002f, 2, Wave::Sine, 1320, 1320, 0.22f), 0.06f);
    set(SoundCueKind::Purchase, buy);
  }
  set(SoundCueKind::Refused,
      Voice1(WithFm(Tone(0.2f, 0.003f, 1, Wave::Pulse, 140, 130, 0.22f), 0.5f, 1.0f), 1, 0, false));
  return table;
}

}  // namespace

const CueSound& SoundOfCue(SoundCueKind kind) {
  static const std::array<CueSound, kSoundCueKinds> table = MakeTable();
  static const CueSound silent = Silent();
  const auto index = static_cast<std::size_t>(kind);
  return index < table.size() ? table[index] : silent;
}

HumPatch HumPatchOf(HumIndex hum) {
  HumPatch patch;
  switch (hum) {
    case kThrustHum:  // a low rumble of noise over a deep drone
      patch = {Wave::Triangle, 55, 0.35f, 0.9f, 380, 0, 0, 0, 0.22f, 0.03f};
      break;
    case kBoostHum:  // a thin, quiet whine with a flutter
      patch = {Wave::Sine, 1100, 1, 0, 1000, 0, 6, 0.3f, 0.035f, 0.03f};
      break;
    case kShockHum:  // a mains buzz under crackling sparks
      patch = {Wave::Pulse, 50, 0.3f, 1.0f, 3500, 0.8f, 0, 0, 0.12f, 0.02f};
      break;
    case kDrainHum:  // a throbbing, crackling low pulse
      patch = {Wave::Pulse, 82, 0.6f, 0.5f, 300, 0.5f, 9, 0.8f, 0.22f, 0.03f};
      break;
    case kTeleportHum:  // a warbling tone that climbs with the charge
      patch = {Wave::Sine, 220, 1, 0, 1000, 0, 12, 0.4f, 0.22f, 0.03f};
      break;
    case kHumCount:
      break;
  }
  return patch;
}

}  // namespace starvane
