#include "sound/mixer.hpp"

#include <algorithm>
#include <cmath>

#include "base/rounding.hpp"

namespace starvane {
namespace {

constexpr float kStealSeconds = 0.002f;
constexpr float kMuteSeconds = 0.005f;
constexpr float kLimiterReleaseSeconds = 0.15f;

}  // namespace

Mixer::Mixer(int rate) : rate_(rate) {
  limiter_release_ =
      static_cast<float>(std::exp(-1.0 / (kLimiterReleaseSeconds * static_cast<double>(rate))));
}

void Mixer::Start(const Patch& patch, float gain, float pan, float pitch) {
  Slot* chosen = nullptr;
  for (Slot& slot : slots_) {
    if (!slot.voice.Active() && !slot.pending) {
      chosen = &slot;
      break;
    }
  }
  if (chosen == nullptr) {
    // All busy: the quietest one that is not already giving way.
    float quietest = 0;
    for (Slot& slot : slots_) {
      if (slot.pending) continue;
      const float loudness = slot.voice.Loudness();
      if (chosen == nullptr || loudness < quietest) {
        chosen = &slot;
        quietest = loudness;
      }
    }
    if (chosen == nullptr) return;  // every voice is already giving way to another
    chosen->voice.FadeOut(RoundToInt(kStealSeconds * static_cast<float>(rate_)));
    chosen->pending = true;
    chosen->patch = patch;
    chosen->gain = gain;
    chosen->pan = pan;
    chosen->pitch = pitch;
    return;
  }
  chosen->voice.Start(patch, gain, pan, pitch, rate_);
}

void Mixer::SetHum(int index, const HumPatch& patch) {
  hums_[static_cast<std::size_t>(index)] = Hum(patch, rate_);
}

void Mixer::SetMuted(bool muted) {
  muted_ = muted;
  if (!started_) mute_gain_ = muted ? 0.0f : 1.0f;
}

int Mixer::ActiveVoices() const {
  return static_cast<int>(std::count_if(slots_.begin(), slots_.end(), [](const Slot& slot) {
    return slot.voice.Active() || slot.pending;
  }));
}

void Mixer::Mix(std::span<std::int16_t> stereo) {
  started_ = true;
  const int samples = static_cast<int>(stereo.size() / 2);
  sum_.assign(stereo.size(), 0.0f);
  for (Slot& slot : slots_) {
    if (slot.pending && !slot.voice.Active()) {
      slot.pending = false;
      slot.voice.Start(slot.patch, slot.gain, slot.pan, slot.pitch, rate_);
    }
    if (!slot.voice.Active()) continue;
    slot.voice.Render(sum_.data(), samples, noise_);
    if (slot.pending && !slot.voice.Active()) {
      // The faded voice ended within this frame; its successor begins with the next one.
      slot.pending = false;
      slot.voice.Start(slot.patch, slot.gain, slot.pan, slot.pitch, rate_);
    }
  }
  for (Hum& hum : hums_) hum.Render(sum_.data(), samples, noise_);

  const float mute_target = muted_ ? 0.0f : 1.0f;
  const float mute_glide = 1 / (kMuteSeconds * static_cast<float>(rate_));
  for (int i = 0; i < samples; ++i) {
    mute_gain_ += std::clamp(mute_target - mute_gain_, -mute_glide, mute_glide);
    const float gain = volume_ * mute_gain_;
    float left = sum_[static_cast<std::size_t>(2 * i)] * gain;
    float right = sum_[static_cast<std::size_t>(2 * i + 1)] * gain;
    if (!std::isfinite(left) || !std::isfinite(right)) left = right = 0;
    // The limiter: an envelope that jumps to every peak and falls back slowly; above the ceiling
    // the sound is scaled down to it, so no sample ever reaches full scale.
    const float peak = std::max(std::abs(left), std::abs(right));
    limiter_envelope_ = std::max(peak, limiter_envelope_ * limiter_release_);
    if (limiter_envelope_ > kCeiling) {
      const float reduction = kCeiling / limiter_envelope_;
      left *= reduction;
      right *= reduction;
    }
    stereo[static_cast<std::size_t>(2 * i)] = static_cast<std::int16_t>(RoundToInt(left * 32767));
    stereo[static_cast<std::size_t>(2 * i + 1)] =
        static_cast<std::int16_t>(RoundToInt(right * 32767));
  }
}

}  // namespace starvane
