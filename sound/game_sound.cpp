#include "sound/game_sound.hpp"

#include <algorithm>
#include <cmath>

#include "base/rounding.hpp"
#include "media/keys.hpp"
#include "sound/cue_sounds.hpp"
#include "sound/volume_curve.hpp"
#include "world/kinds.hpp"

namespace starvane {
namespace {

constexpr float kScreenCentreX = 400;
constexpr float kScreenCentreY = 300;
// At this distance from the middle of the screen a sound is half as loud; four times as far it
// is not started at all.
constexpr float kHalfLoudDistance = 500;
constexpr float kFarthest = 2000;
constexpr float kWidestPan = 0.8f;  // never wholly in one ear

// How much louder or softer a cue's size makes its sound.
float SizeGain(const SoundCue& cue) {
  switch (cue.kind) {
    case SoundCueKind::BodyHit:
    case SoundCueKind::ShipHit:
    case SoundCueKind::ShieldHit:
      return std::clamp(0.6f + cue.size / 30, 0.6f, 1.4f);  // by the damage
    case SoundCueKind::Bump:
    case SoundCueKind::ShieldBump:
    case SoundCueKind::Hull:
      return std::clamp(cue.size / 4, 0.25f, 1.3f);  // by the ship's speed
    default:
      return 1;
  }
}

// How much higher a cue's size makes its sound.
float SizePitch(const SoundCue& cue) {
  if (cue.kind != SoundCueKind::EnemyShot) return 1;
  switch (RoundToInt(cue.size)) {
    case kKindEnemie2:
      return 1.35f;  // dotted shots: thinner
    case kKindEnemie3:
      return 0.7f;  // deeper
    default:
      return 1;
  }
}

}  // namespace

GameSound::GameSound(Game& game, SoundSettings settings, WavRecording* recording)
    : game_(game), recording_(recording), mixer_(kSoundRate) {
  mixer_.SetVolume(VolumeGain(settings.volume));
  muted_ = settings.muted;
  mixer_.SetMuted(muted_);
  for (int hum = 0; hum < kHumCount; ++hum) {
    mixer_.SetHum(hum, HumPatchOf(static_cast<HumIndex>(hum)));
  }
  last_started_.fill(-1000);
}

void GameSound::SetVolume(int volume) {
  mixer_.SetVolume(VolumeGain(volume));
}

GameSound::~GameSound() {
  if (playing_) game_.media.SetSoundSource(nullptr);
}

void GameSound::Play() {
  playing_ = true;
  game_.Sounds.Listen();
  game_.media.SetSoundSource(this);
  examinations_seen_ = game_.media.KeyboardExaminations();
}

GameSound::Placed GameSound::PlaceOf(const SoundCue& cue) const {
  if (!cue.placed) return {1, 0};
  const float dx = cue.x + game_.ViewX - kScreenCentreX;
  const float dy = cue.y + game_.ViewY - kScreenCentreY;
  const float d = std::sqrt(dx * dx + dy * dy);
  if (!(d <= kFarthest)) return {0, 0};
  const float share = d / kHalfLoudDistance;
  return {1 / (1 + share * share), std::clamp(dx / kHalfLoudDistance, -1.0f, 1.0f) * kWidestPan};
}

// Each examination of the keyboard's M press toggles once, however many frames show it.
void GameSound::ToggleMuteOnM() {
  const Media& media = game_.media;
  if (media.KeyboardExaminations() == examinations_seen_) return;
  examinations_seen_ = media.KeyboardExaminations();
  if (media.KeyWentDown(kKeyM)) muted_ = !muted_;
}

void GameSound::StartVoices() {
  // Of each kind, only the loudest few of the frame: a thousand sparks of a big fight make a
  // thick sound, not a thousand voices.
  struct Chosen {
    const SoundCue* cue;
    Placed place;
  };
  std::array<std::array<Chosen, 3>, kSoundCueKinds> chosen{};
  std::array<int, kSoundCueKinds> counts{};
  for (const SoundCue& cue : cues_) {
    const auto kind = static_cast<std::size_t>(cue.kind);
    const CueSound& sound = SoundOfCue(cue.kind);
    if (sound.held) continue;
    const Placed place = PlaceOf(cue);
    if (place.gain <= 0) continue;
    const int most = std::clamp(sound.most_per_frame, 1, 3);
    auto& best = chosen[kind];
    int& count = counts[kind];
    if (count < most) {
      best[static_cast<std::size_t>(count++)] = {&cue, place};
      continue;
    }
    auto quietest = std::min_element(
        best.begin(), best.begin() + most,
        [](const Chosen& a, const Chosen& b) { return a.place.gain < b.place.gain; });
    if (quietest->place.gain < place.gain) *quietest = {&cue, place};
  }
  for (std::size_t kind = 0; kind < chosen.size(); ++kind) {
    if (counts[kind] == 0) continue;
    const CueSound& sound = SoundOfCue(static_cast<SoundCueKind>(kind));
    if (frame_ - last_started_[kind] <= sound.least_frames_between) continue;
    last_started_[kind] = frame_;
    for (int i = 0; i < counts[kind]; ++i) {
      const Chosen& one = chosen[kind][static_cast<std::size_t>(i)];
      const float gain = one.place.gain * SizeGain(*one.cue);
      float pitch = SizePitch(*one.cue);
      if (sound.varied) pitch *= 1 + 0.04f * variation_.Next();
      mixer_.Start(sound.patch, gain, one.place.pan, pitch);
      if (sound.second) mixer_.Start(*sound.second, gain, one.place.pan, pitch);
    }
  }
}

void GameSound::AimHums() {
  bool thrust = false;
  bool boost = false;
  bool shock = false;
  float strikes = 0;
  float teleport = -1;
  Placed drain{0, 0};
  for (const SoundCue& cue : cues_) {
    switch (cue.kind) {
      case SoundCueKind::ThrustHeld:
        thrust = true;
        break;
      case SoundCueKind::BoostRunning:
        boost = true;
        break;
      case SoundCueKind::ShockRunning:
        shock = true;
        break;
      case SoundCueKind::ShockStrike:
        strikes += PlaceOf(cue).gain;
        break;
      case SoundCueKind::TeleportCharge:
        teleport = std::max(teleport, cue.size);
        break;
      case SoundCueKind::Drain:
        if (const Placed place = PlaceOf(cue); place.gain > drain.gain) drain = place;
        break;
      default:
        break;
    }
  }
  mixer_.HumAt(kThrustHum).Aim(thrust ? 1.0f : 0.0f, boost ? 1.4f : 1.0f, 0);
  mixer_.HumAt(kBoostHum).Aim(boost ? (thrust ? 1.0f : 0.5f) : 0.0f, 1, 0);
  mixer_.HumAt(kShockHum).Aim(shock ? std::min(1.5f, 0.4f + 0.3f * strikes) : 0.0f, 1, 0);
  mixer_.HumAt(kDrainHum).Aim(drain.gain, 1, drain.pan);
  const float charge = std::clamp(teleport, 0.0f, 100.0f) / 100;
  mixer_.HumAt(kTeleportHum).Aim(teleport >= 0 ? 0.5f + 0.5f * charge : 0.0f, 1 + 3 * charge, 0);
}

void GameSound::MixFrame(std::span<std::int16_t> samples) {
  ToggleMuteOnM();
  mixer_.SetMuted(muted_ || game_.media.SoundHeld());
  game_.Sounds.TakeInto(cues_);
  StartVoices();
  AimHums();
  mixer_.Mix(samples);
  if (recording_ != nullptr) recording_->Append(samples);
  ++frame_;
}

}  // namespace starvane
