#include "media/sound_queue_depth.hpp"

#include <algorithm>

namespace starvane {

SoundQueueDepth::Step SoundQueueDepth::Next(int waiting, bool silent) {
  waiting = std::max(waiting, 0);
  Step step;
  if (!started_) {
    started_ = true;
    step.silence_before = cushion_;
    return step;
  }
  // Late: the frame found less than a quarter of the cushion still waiting.
  if (waiting < cushion_ / 4) {
    cushion_ = std::min(kDeepest, cushion_ + kGrowth);
    calm_ = 0;
  } else if (++calm_ >= kCalmFrames) {
    cushion_ = std::max(kShallowest, cushion_ - kShrink);
    calm_ = 0;
  }
  if (waiting == 0 || (silent && waiting < cushion_)) {
    // The device already played a gap, or silence comes next: more silence is not heard.
    step.silence_before = cushion_ - waiting;
  } else if (silent && waiting > cushion_ + kSoundFrameSamples / 2) {
    step.play_frame = false;
  } else if (waiting > cushion_ + 2 * kSoundFrameSamples) {
    step.play_frame = false;
  }
  return step;
}

}  // namespace starvane
