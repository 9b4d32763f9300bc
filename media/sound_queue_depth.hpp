#pragma once
// How much sound waits in the loudspeaker's queue. Each presented frame brings one frame of
// sound (20 ms); the device plays it on its own clock. A frame that comes late finds the queue
// shorter by its lateness, and if the queue ran dry the device played a gap: a click. So the
// queue keeps a cushion of waiting sound ahead of each new frame, as small as the machine lets
// it be (every sample of it is delay between a key and its sound):
// - a frame that finds the queue dry, or nearly so, makes the cushion deeper (up to kDeepest);
// - after kCalmFrames frames in a row that came in time, it is made a step shallower (down to
//   kShallowest), so one busy moment does not cost delay for the rest of the game.
// The queue itself changes depth only where it cannot be heard: silence is added in a gap the
// device already played, or before a frame of silence; silent frames are left out while the
// queue is deeper than the cushion. Only a queue more than two frames past the cushion (the
// device's clock is slower than the game's) loses a frame of sound.
// Plain C++ with no clock and no device: the SDL loudspeaker asks it at each frame.

#include "media/sound_source.hpp"

namespace starvane {

class SoundQueueDepth {
 public:
  static constexpr int kShallowest = kSoundFrameSamples / 2;  // samples of each side: 10 ms
  static constexpr int kDeepest = 4 * kSoundFrameSamples;     // 80 ms
  static constexpr int kGrowth = kSoundFrameSamples / 2;      // each late frame
  static constexpr int kShrink = kSoundFrameSamples / 8;      // each calm stretch
  static constexpr int kCalmFrames = 500;                     // 10 s at 50 frames a second

  struct Step {
    int silence_before = 0;  // samples of silence to queue before the frame
    bool play_frame = true;  // false: the frame is left out
  };

  // waiting: samples still queued as the next frame comes; silent: whether that frame is all
  // silence.
  Step Next(int waiting, bool silent);
  // The cushion aimed at, in samples.
  int Cushion() const { return cushion_; }

 private:
  int cushion_ = kShallowest;
  int calm_ = 0;
  bool started_ = false;
};

}  // namespace starvane
