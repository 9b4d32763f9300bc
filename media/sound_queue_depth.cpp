#include "media/sound_queue_depth.hpp"

#include <algorithm>

namespace starvane {

SoundQueueDepth::SoundQueueDepth(int device_block)
    // A frame in time finds at least the cushion less the block the device has just taken: a
    // quarter of a frame (5 ms) beyond that absorbs the jitter of the frames' timing.
    : shallowest_(std::clamp(device_block, 0, 2 * kSoundFrameSamples) + kSoundFrameSamples / 4),
      cushion_(shallowest_) {}

SoundQueueDepth::Step SoundQueueDepth::Next(int waiting, bool silent) {
  waiting = std::max(waiting, 0);
  Step step;
  if (frames_ == 0) {
    frames_ = 1;
    step.silence_before = cushion_;
    return step;
  }
  if (frames_ < kSettlingFrames) {
    ++frames_;
  } else if (waiting < kLate) {
    cushion_ = std::min(kDeepest, cushion_ + kGrowth);
    calm_ = 0;
  } else if (++calm_ >= kCalmFrames) {
    cushion_ = std::max(shallowest_, cushion_ - kShrink);
    calm_ = 0;
  }
  if (silent) {
    // Silence can be any length: just enough of it to leave the cushion and a frame waiting.
    step.silence_before = std::max(0, cushion_ + kSoundFrameSamples - waiting);
    step.play_frame = false;
  } else if (waiting == 0) {
    // The device already played a gap: the cushion's silence in it is not heard.
    step.silence_before = cushion_;
  } else if (waiting > cushion_ + 2 * kSoundFrameSamples) {
    step.play_frame = false;
    step.device_behind = frames_ >= kSettlingFrames;
  }
  return step;
}

}  // namespace starvane
