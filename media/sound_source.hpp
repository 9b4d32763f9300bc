#pragma once
// The game's sound as the media layer sees it: a source that mixes one frame of sound for each
// presented frame, which the display then plays (or not: headless is silent). The format is
// fixed: 48,000 samples a second, stereo, 16-bit, left and right interleaved, so a frame of the
// game's 50 a second holds exactly 960 samples of each side.

#include <cstdint>
#include <span>

namespace starvane {

constexpr int kSoundRate = 48000;
constexpr int kSoundChannels = 2;
constexpr int kSoundFrameSamples = kSoundRate / 50;  // per side, in one frame of the game
constexpr int kSoundFrameValues = kSoundFrameSamples * kSoundChannels;

class SoundSource {
 public:
  virtual ~SoundSource() = default;
  // Fills the samples (kSoundFrameValues, interleaved) with the sound of the frame just
  // presented.
  virtual void MixFrame(std::span<std::int16_t> samples) = 0;
};

}  // namespace starvane
