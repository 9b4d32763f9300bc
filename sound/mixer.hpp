#pragma once
// The mixer: up to 32 short voices and a few hums summed, scaled by the volume, muted on demand,
// and held below full scale by a limiter, into 16-bit stereo. Plain C++ with no clock and no
// device: the same calls give the same samples on every run, whoever plays them.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "sound/hum.hpp"
#include "sound/noise.hpp"
#include "sound/voice.hpp"

namespace starvane {

class Mixer {
 public:
  static constexpr int kVoices = 32;
  static constexpr int kHums = 8;
  // The limiter keeps every sample within this share of full scale.
  static constexpr float kCeiling = 0.89f;

  explicit Mixer(int rate);

  // Starts a voice. With every voice busy the quietest gives way: it fades out over two
  // milliseconds and the new one starts in its place after it.
  void Start(const Patch& patch, float gain, float pan, float pitch = 1);
  void SetHum(int index, const HumPatch& patch);
  Hum& HumAt(int index) { return hums_[static_cast<std::size_t>(index)]; }

  // 0 to 1.
  void SetVolume(float volume) { volume_ = volume; }
  // Muting fades to silence within a few milliseconds; a mixer muted before its first sample is
  // silent from the start.
  void SetMuted(bool muted);

  // Mixes the next samples into the interleaved stereo buffer (an even number of values).
  void Mix(std::span<std::int16_t> stereo);

  int ActiveVoices() const;

 private:
  struct Slot {
    Voice voice;
    // A voice that waits for the fading one before it to end.
    bool pending = false;
    Patch patch;
    float gain = 0;
    float pan = 0;
    float pitch = 1;
  };

  int rate_;
  std::array<Slot, kVoices> slots_{};
  std::array<Hum, kHums> hums_{};
  SoundNoise noise_;
  std::vector<float> sum_;
  float volume_ = 1;
  bool muted_ = false;
  float mute_gain_ = 1;  // glides to 0 while muted
  float limiter_envelope_ = 0;
  float limiter_release_ = 0;
  bool started_ = false;
};

}  // namespace starvane
