#pragma once
// A sound that lasts as long as something is held (the thrust, the boost, the shock, a drain,
// the teleport's charge): a steady tone and noise whose level, pitch and place glide towards
// what each frame asks for, so that it swells and dies away without a click.

#include "sound/noise.hpp"
#include "sound/voice.hpp"

namespace starvane {

struct HumPatch {
  Wave wave = Wave::Sine;
  float hz = 100;
  float tone = 1;
  float noise = 0;
  float noise_hz = 1000;  // the noise's low-pass cut-off
  float crackle = 0;      // 0: steady noise; towards 1: the noise comes in ever rarer sparks
  float tremolo_hz = 0;
  float tremolo_depth = 0;  // 0..1
  float gain = 0.3f;
  float glide_seconds = 0.02f;  // how fast level, pitch and place follow
};

class Hum {
 public:
  Hum() = default;
  Hum(const HumPatch& patch, int rate);
  // What the next frame should sound like: level 0 lets it die away.
  void Aim(float level, float pitch, float pan);
  void Render(float* stereo, int samples, SoundNoise& noise);
  bool Silent() const { return level_ == 0 && target_level_ == 0; }

 private:
  HumPatch patch_;
  int rate_ = 48000;
  float glide_ = 0.001f;  // the share of the way taken each sample
  float target_level_ = 0;
  float target_pitch_ = 1;
  float target_pan_ = 0;
  float level_ = 0;
  float pitch_ = 1;
  float pan_ = 0;
  float phase_ = 0;
  float tremolo_phase_ = 0;
  TwoStageLowPass low_pass_;
  float filter_k_ = 0;
  float filter_gain_ = 1;
  float spark_ = 0;  // the crackle's gate
};

}  // namespace starvane
