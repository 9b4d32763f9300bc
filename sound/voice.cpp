#include "sound/voice.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace starvane {
namespace {

constexpr int kSineSize = 4096;
constexpr double kTwoPi = 6.283185307179586;

const std::array<float, kSineSize + 1>& SineTable() {
  static const std::array<float, kSineSize + 1> table = [] {
    std::array<float, kSineSize + 1> values{};
    for (int i = 0; i <= kSineSize; ++i) {
      values[static_cast<std::size_t>(i)] = static_cast<float>(std::sin(kTwoPi * i / kSineSize));
    }
    return values;
  }();
  return table;
}

// The whole turns taken off, 0..1 left.
float Wrapped(float turns) {
  return turns - std::floor(turns);
}

std::int64_t Samples(float seconds, int rate) {
  const double samples = std::floor(static_cast<double>(seconds) * rate);
  return static_cast<std::int64_t>(std::clamp(samples, 0.0, 60.0 * rate));
}

// The low-pass filter's coefficient for a cut-off: the share of the step to the input taken each
// sample.
float FilterCoefficient(float hz, int rate) {
  return std::clamp(static_cast<float>(kTwoPi) * hz / static_cast<float>(rate), 0.0f, 1.0f);
}

// The factor that takes a value from `from` to `to` in `samples` equal multiplications.
float SweepRatio(float from, float to, std::int64_t samples) {
  if (!(from > 0) || !(to > 0) || samples <= 0) return 1;
  return static_cast<float>(std::pow(static_cast<double>(to) / from, 1.0 / samples));
}

}  // namespace

float NoiseGain(float k) {
  if (!(k > 0)) return 0;
  // Two stages of h[n] = k (1 - k)^n keep k^4 (1 + a^2) / (1 - a^2)^3 of the noise's power,
  // a = 1 - k; uniform noise has a power of a third.
  const double a = 1.0 - k;
  const double kept = std::pow(k, 4.0) * (1 + a * a) / std::pow(1 - a * a, 3.0);
  return static_cast<float>(0.3 / std::sqrt(kept / 3));
}

float SineTurns(float turns) {
  const float place = Wrapped(turns) * kSineSize;
  const auto index = static_cast<std::size_t>(std::clamp(place, 0.0f, kSineSize - 1.0f));
  const float between = place - static_cast<float>(index);
  const auto& table = SineTable();
  return table[index] + (table[index + 1] - table[index]) * between;
}

Envelope::Envelope(const Patch& patch, int rate)
    : attack_(std::max<std::int64_t>(1, Samples(std::max(patch.attack, kShortestAttack), rate))),
      length_(std::max<std::int64_t>(2, Samples(patch.duration, rate))),
      curve_(std::clamp(patch.curve, 1.0f, 6.0f)) {
  attack_ = std::min(attack_, length_ - 1);
  // The fall starts with a slope of curve / its length: it is made long enough never to be
  // steeper than the quickest rise, so a short, steep sound still ends without a click.
  const auto shortest = static_cast<float>(Samples(kShortestAttack, rate));
  const auto least_fall = static_cast<std::int64_t>(std::ceil(curve_ * shortest));
  length_ = std::max(length_, attack_ + least_fall + 1);
}

float Envelope::At(std::int64_t n) const {
  if (n <= 0 || n >= length_ - 1) return 0;
  if (n < attack_) return static_cast<float>(n) / static_cast<float>(attack_);
  const float left =
      static_cast<float>(length_ - 1 - n) / static_cast<float>(length_ - 1 - attack_);
  // (1 - t)^curve: whole powers by multiplication, the fraction between them linearly.
  const int whole = static_cast<int>(curve_);
  float power = left;
  for (int i = 1; i < whole; ++i) power *= left;
  const float fraction = curve_ - static_cast<float>(whole);
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
  filter_ = 0;
  filter_k_ = FilterCoefficient(patch.noise_start_hz * pitch, rate);
  filter_ratio_ = SweepRatio(patch.noise_start_hz, patch.noise_end_hz, envelope_.Length());
  filter2_ = 0;
  filter_gain_ = NoiseGain(filter_k_);
  // Low cut-offs keep a share of the power about proportional to k.
  filter_gain_ratio_ = 1 / std::sqrt(filter_ratio_);
  fade_left_ = -1;
}

float Voice::Loudness() const {
  if (!active_) return 0;
  const float fade = fade_left_ >= 0 ? 0.0f : 1.0f;
  const std::int64_t n = std::max<std::int64_t>(n_ - delay_, envelope_.Length() / 8);
  return fade * (left_ + right_) * std::max(envelope_.At(n), 0.001f);
}

void Voice::FadeOut(int samples) {
  if (!active_ || fade_left_ >= 0) return;
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
    float level = envelope_.At(n);
    if (fade_left_ > 0) {
      level *= static_cast<float>(fade_left_) / static_cast<float>(fade_length_);
      --fade_left_;
    }
    float value = 0;
    if (tone_ != 0) {
      float turns = phase_;
      if (fm_depth_ != 0) {
        fm_phase_ = Wrapped(fm_phase_ + step_ * fm_ratio_);
        turns += fm_depth_ * SineTurns(fm_phase_);
      }
      float wave = 0;
      switch (wave_) {
        case Wave::Sine:
          wave = SineTurns(turns);
          break;
        case Wave::Triangle:
          wave = 1 - 4 * std::abs(Wrapped(turns) - 0.5f);
          break;
        case Wave::Pulse:
          wave = std::clamp(3 * SineTurns(turns), -1.0f, 1.0f);
          break;
        case Wave::None:
          break;
      }
      value += tone_ * wave;
      phase_ = Wrapped(phase_ + step_);
      step_ *= step_ratio_;
    }
    if (noise_ != 0) {
      filter_ += filter_k_ * (noise.Next() - filter_);
      filter2_ += filter_k_ * (filter_ - filter2_);
      value += noise_ * filter_gain_ * filter2_;
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
