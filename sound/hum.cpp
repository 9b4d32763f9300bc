#include "sound/hum.hpp"

#include <algorithm>
#include <cmath>

namespace starvane {

Hum::Hum(const HumPatch& patch, int rate) : patch_(patch), rate_(rate) {
  const float samples = std::max(1.0f, patch.glide_seconds * static_cast<float>(rate));
  glide_ = std::min(1.0f, 1 / samples);
  filter_k_ = FilterCoefficient(patch.noise_hz, rate);
  filter_gain_ = NoiseGain(filter_k_);
}

void Hum::Aim(float level, float pitch, float pan) {
  target_level_ = std::max(0.0f, level);
  target_pitch_ = pitch;
  if (level > 0) target_pan_ = std::clamp(pan, -1.0f, 1.0f);
}

void Hum::Render(float* stereo, int samples, SoundNoise& noise) {
  if (Silent()) return;
  const float base_step = patch_.hz / static_cast<float>(rate_);
  const float tremolo_step = patch_.tremolo_hz / static_cast<float>(rate_);
  const float spark_decay = 1 - 0.01f * (1 - patch_.crackle);
  const float spark_chance = 1 - 0.02f * (1 - patch_.crackle);
  // The place glides by the frame: equal power across the field, the sides cross-fading along a
  // quarter sine.
  pan_ += (target_pan_ - pan_) * std::min(1.0f, glide_ * static_cast<float>(samples));
  const float right = SineTurns((pan_ + 1) / 8);
  const float left = SineTurns((pan_ + 1) / 8 + 0.25f);
  for (int i = 0; i < samples; ++i) {
    level_ += (target_level_ - level_) * glide_;
    pitch_ += (target_pitch_ - pitch_) * glide_;
    float value = 0;
    if (patch_.wave != Wave::None) {
      value += patch_.tone * WaveAt(patch_.wave, phase_);
      phase_ += base_step * pitch_;
      if (phase_ >= 1) phase_ -= 1;
    }
    if (patch_.noise != 0) {
      float input = noise.Next();
      if (patch_.crackle > 0) {
        if (noise.Next() > spark_chance) spark_ = 1;
        spark_ *= spark_decay;
        input *= spark_;
      }
      value += patch_.noise * filter_gain_ * low_pass_.Next(input, filter_k_);
    }
    if (patch_.tremolo_depth > 0) {
      value *= 1 - patch_.tremolo_depth * 0.5f * (1 + SineTurns(tremolo_phase_));
      tremolo_phase_ += tremolo_step;
      if (tremolo_phase_ >= 1) tremolo_phase_ -= 1;
    }
    const float out = value * level_ * patch_.gain;
    stereo[2 * i] += out * left;
    stereo[2 * i + 1] += out * right;
  }
  if (target_level_ == 0 && level_ < 1e-5f) level_ = 0;
}

}  // namespace starvane
