#pragma once
// One short synthesised sound: an oscillator sweeping from one pitch to another (optionally
// frequency-modulated, for bells and metal) and low-passed noise (two one-pole stages, 12 dB an
// octave, so that a rumble does not hiss), under an envelope that rises
// from silence and falls back to exactly silence, so that no sound starts or ends with a click.

#include <cstdint>

#include "sound/noise.hpp"

namespace starvane {

enum class Wave : std::uint8_t { None, Sine, Triangle, Pulse };

// The character of a sound. Times are in seconds, pitches in Hz; a sweep runs exponentially over
// the whole sound.
struct Patch {
  float duration = 0.1f;
  float attack = 0.002f;  // never shorter than kShortestAttack
  float curve = 2;        // the fall after the attack: (1 - t)^curve, t from 0 to 1
  Wave wave = Wave::Sine;
  float start_hz = 440;
  float end_hz = 440;
  float fm_ratio = 0;           // modulator at this multiple of the pitch; 0: none
  float fm_depth = 0;           // in radians of phase
  float tone = 1;               // the oscillator's level
  float noise = 0;              // the noise's level
  float noise_start_hz = 2000;  // the noise's low-pass cut-off, sweeping like the pitch
  float noise_end_hz = 2000;
  float gain = 0.5f;
  float delay = 0;  // silence before it starts
};

constexpr float kShortestAttack = 0.002f;

// The oscillator's value at a phase in turns (0..1 is one period); Wave::None is silence.
float WaveAt(Wave wave, float turns);

// The low-pass filter's coefficient for a cut-off: the share of the step to the input taken each
// sample.
float FilterCoefficient(float hz, int rate);

// The two one-pole stages every sound's noise goes through.
struct TwoStageLowPass {
  float first = 0;
  float second = 0;
  float Next(float input, float k) {
    first += k * (input - first);
    second += k * (first - second);
    return second;
  }
};

// The envelope of a patch at sample n of it: 0 at n = 0, rising linearly to 1 over the attack,
// then falling as (1 - t)^curve to exactly 0 at the last sample. No step of it is larger than
// the quickest attack's (a sound too short for its curve lasts a little longer).
class Envelope {
 public:
  Envelope() = default;
  Envelope(const Patch& patch, int rate);
  float At(std::int64_t n) const;
  std::int64_t Length() const { return length_; }

 private:
  std::int64_t attack_ = 1;
  std::int64_t length_ = 1;
  float curve_ = 1;
};

// A patch being played.
class Voice {
 public:
  void Start(const Patch& patch, float gain, float pan, float pitch, int rate);
  bool Active() const { return active_; }
  // How loud it still is, for choosing which voice to give up when all are busy.
  float Loudness() const;
  // Lets it fall silent within a few milliseconds instead of stopping it at once.
  void FadeOut(int samples);
  // Adds its next samples to the interleaved stereo buffer.
  void Render(float* stereo, int samples, SoundNoise& noise);

 private:
  bool active_ = false;
  Envelope envelope_;
  std::int64_t n_ = 0;      // samples played, the delay included
  std::int64_t delay_ = 0;  // samples of silence first
  float left_ = 0;          // the gains of the two sides
  float right_ = 0;
  Wave wave_ = Wave::None;
  float phase_ = 0;  // 0..1
  float step_ = 0;   // of the phase a sample
  float step_ratio_ = 1;
  float fm_phase_ = 0;
  float fm_ratio_ = 0;
  float fm_depth_ = 0;
  float tone_ = 0;
  float noise_ = 0;
  TwoStageLowPass low_pass_;
  float filter_k_ = 0;
  float filter_ratio_ = 1;
  float filter_gain_ = 1;  // keeps the filtered noise about as loud whatever its cut-off
  float filter_gain_ratio_ = 1;
  float level_ = 0;  // the envelope, followed linearly between its exact values
  float level_step_ = 0;
  std::int64_t fade_left_ = -1;  // samples of a fade-out left; -1: none
  std::int64_t fade_length_ = 1;
};

// Sine of a phase in turns (0..1 is one period), from a table: cheap and the same every run.
float SineTurns(float turns);

// The factor that brings white noise (-1..1) through the two-stage low-pass with coefficient k
// to about a third of full scale, whatever the cut-off: the filter keeps less the lower it is.
float NoiseGain(float k);

}  // namespace starvane
