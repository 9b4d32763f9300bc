#include "sound/voice.hpp"

#include <algorithm>
#include <cmath>

#include "base/rounding.hpp"

namespace starvane {
namespace {

constexpr double kTwoPi = 6.283185307179586;
// The envelope is worked out exactly every this many samples and followed linearly between.
constexpr std::int64_t kEnvelopeStride = 32;

// The whole turns taken off, 0..1 left. Phases stay within a few turns of 0; anything else (no
// number, or beyond all sense) is taken as 0.
float Wrapped(float turns) {
  if (!(std::abs(turns) < 64)) return 0;
  while (turns >= 1) turns -= 1;
  while (turns < 0) turns += 1;
  return turns;
}

// Whole samples in the time, at most a minute.
std::int64_t Samples(float seconds, int rate) {
  const double samples = std::clamp(static_cast<double>(seconds) * rate, 0.0, 60.0 * rate);
  return RoundToInt(std::floor(samples));
}

// The factor that takes a value from `from` to `to` in `samples` equal multiplications.
float SweepRatio(float from, float to, std::int64_t samples) {
  if (!(from > 0) || !(to > 0) || samples <= 0) return 1;
  return static_cast<float>(std::pow(static_cast<double>(to) / from, 1.0 / samples));
}

}  // namespace

float FilterCoefficient(float hz, int rate) {
  return std::clamp(static_cast<float>(kTwoPi) * hz / static_cast<float>(rate), 0.0f, 1.0f);
}

float WaveAt(Wave wave, float turns) {
  switch (wave) {
    case Wave::Sine:
      return SineTurns(turns);
    case Wave::Triangle:
      return 1 - 4 * std::abs(Wrapped(turns) - 0.5f);
    case Wave::Pulse:
      return std::clamp(3 * SineTurns(turns), -1.0f, 1.0f);
    case Wave::None:
      break;
  }
  return 0;
}

float NoiseGain(float k) {
  if (!(k > 0)) return 0;
  // Two stages of h[n] = k (1 - k)^n keep k^4 (1 + a^2) / (1 - a^2)^3 of the noise's power,
  // a = 1 - k; uniform noise has a power of a third.
  const double a = 1.0 - k;
  const double kept = std::pow(k, 4.0) * (1 + a * a) / std::pow(1 - a * a, 3.0);
  return static_cast<float>(0.3 / std::sqrt(kept / 3));
}

float SineTurns(float turns) {
  // sin(2 pi t) = -sin(2 pi (t - 1/2)), and a quarter turn either side of 0 is folded back onto
  // itself (sin(pi - a) = sin a), where a Taylor polynomial to the seventh power is within
  // 0.0002 of the sine.
  float x = Wrapped(turns) - 0.5f;
  if (x > 0.25f) {
    x = 0.5f - x;
  } else if (x < -0.25f) {
    x = -0.5f - x;
  }
  const float y = static_cast<float>(kTwoPi) * x;
  const float y2 = y * y;
  return -y * (1 - y2 / 6 * (1 - y2 / 20 * (1 - y2 / 42)));
}

Envelope::Envelope(const Patch& patch, int rate)
    : attack_(std::max<std::int64_t>(1, Samples(std::max(patch.attack, kShortestAttack), rate))),
      length_(std::max<std::int64_t>(2, Samples(patch.duration, rate))),
      curve_(std::clamp(patch.curve, 1.0f, 6.0f)) {
  attack_ = std::min(attack_, length_ - 1);
  // The fall starts with a slope of curve / its length: it is made long enough never to be
  // steeper than the quickest rise, so a short, steep sound still ends without a click.
  const auto shortest = static_cast<float>(Samples(kShortestAttack, rate));
  const std::int64_t least_fall = RoundToInt(std::ceil(curve_ * shortest));
  length_ = std::max(length_, attack_ + least_fall + 1);
}

float Envelope::At(std::int64_t n) const {
  if (n <= 0 || n >= length_ - 1) return 0;
  if (n < attack_) return static_cast<float>(n) / static_cast<float>(attack_);
  const float left =
      static_cast<float>(length_ - 1 - n) / static_cast<float>(length_ - 1 - attack_);
  // (1 - t)^curve: whole powers by multiplication, the fraction between them linearly.
  float power = left;
  float whole = 1;
  for (; whole + 1 <= curve_; whole += 1) power *= left;
  const float fraction = curve_ - whole;
  return power * (1 - fraction + fraction * left);
}

void Voice::Start(const Patch& patch, float gain, float pan, float pitch, int rate) {
  active_ = true;
  envelope_ = Envelope(patch, rate);
  n_ = 0;
  delay_ = Samples(patch.delay, rate);
  // Equal power across the field: pan -1 is the left side alone, +1 the right.
  const double angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0) * kTwoPi / 8;
  const float level = std::max(0.0f, gain * patch.gain);
  left_ = level * static_cast<float>(std::cos(angle));
  right_ = level * static_cast<float>(std::sin(angle));
  wave_ = patch.wave;
  phase_ = 0;
  const float start_hz = patch.start_hz * pitch;
  step_ = start_hz / static_cast<float>(rate);
  step_ratio_ = SweepRatio(patch.start_hz, patch.end_hz, envelope_.Length());
  fm_phase_ = 0;
  fm_ratio_ = patch.fm_ratio;
  fm_depth_ = patch.fm_depth / static_cast<float>(kTwoPi);
  tone_ = patch.wave == Wave::None ? 0 : patch.tone;
  noise_ = patch.noise;
  low_pass_ = {};
  filter_k_ = FilterCoefficient(patch.noise_start_hz * pitch, rate);
  filter_ratio_ = SweepRatio(patch.noise_start_hz, patch.noise_end_hz, envelope_.Length());
  filter_gain_ = NoiseGain(filter_k_);
  // Low cut-offs keep a share of the power about proportional to k.
  filter_gain_ratio_ = 1 / std::sqrt(filter_ratio_);
  fade_left_ = -1;
  level_ = 0;
  level_step_ = 0;
}

float Voice::Loudness() const {
  if (!active_) return 0;
  const float fade = fade_left_ >= 0 ? 0.0f : 1.0f;
  const std::int64_t n = std::max<std::int64_t>(n_ - delay_, envelope_.Length() / 8);
  return fade * (left_ + right_) * std::max(envelope_.At(n), 0.001f);
}

void Voice::FadeOut(int samples) {
  if (!active_ || fade_left_ >= 0) return;
  if (n_ < delay_) {  // not heard yet: it gives way at once
    active_ = false;
    return;
  }
  fade_length_ = std::max(1, samples);
  fade_left_ = fade_length_;
}

void Voice::Render(float* stereo, int samples, SoundNoise& noise) {
  for (int i = 0; i < samples && active_; ++i) {
    const std::int64_t n = n_++ - delay_;
    if (n < 0) continue;
    if (n >= envelope_.Length() || fade_left_ == 0) {
      active_ = false;
      break;
    }
    if (n % kEnvelopeStride == 0) {
      level_ = envelope_.At(n);
      level_step_ = (envelope_.At(n + kEnvelopeStride) - level_) / kEnvelopeStride;
    }
    float level = level_;
    level_ += level_step_;
    if (fade_left_ > 0) {
      level *= static_cast<float>(fade_left_) / static_cast<float>(fade_length_);
      --fade_left_;
    }
    float value = 0;
    if (tone_ != 0) {
      float turns = phase_;
      if (fm_depth_ != 0) {
        fm_phase_ += step_ * fm_ratio_;
        if (fm_phase_ >= 1) fm_phase_ = Wrapped(fm_phase_);
        turns += fm_depth_ * SineTurns(fm_phase_);
      }
      value += tone_ * WaveAt(wave_, turns);
      phase_ += step_;
      if (phase_ >= 1) phase_ -= 1;
      step_ *= step_ratio_;
    }
    if (noise_ != 0) {
      value += noise_ * filter_gain_ * low_pass_.Next(noise.Next(), filter_k_);
      if (filter_k_ < 1) {
        filter_k_ = std::min(1.0f, filter_k_ * filter_ratio_);
        filter_gain_ = std::max(0.5f, filter_gain_ * filter_gain_ratio_);
      }
    }
    value *= level;
    stereo[2 * i] += value * left_;
    stereo[2 * i + 1] += value * right_;
  }
}

}  // namespace starvane
