#pragma once
// How many samples the loudspeaker takes at a time. The sound server keeps one such block ahead
// of its own clock (SDL's PulseAudio driver asks it for exactly one), so a short block keeps the
// delay from a key to its sound small. On a busy machine the server itself may run late by more
// than a short block: it then plays a gap, and the stream goes on later than before, so the
// game finds its queue more than two frames past the cushion and leaves a frame out (what the
// queue's depth calls a device behind). The game's own cushion cannot help there: it waits in
// front of the device, not in the server. So:
// - kTroubles such frames within kTroubleFrames double the block (fewer would also catch the
//   rare frame a quiet machine leaves out, and opening the device again is itself one gap) (up to
//   kLargest), and the device is opened again with it: one gap, heard once, instead of one every
//   few seconds;
// - after kCalmFrames without one, the block halves again (down to kSmallest), at a frame of
//   silence, where opening the device again is not heard.
// Plain C++ with no clock and no device: the SDL loudspeaker asks it at each frame.

namespace starvane {

class SoundDeviceBlock {
 public:
  static constexpr int kSmallest = 512;  // 10.7 ms at 48,000 samples a second
  static constexpr int kLargest = 2048;  // 42.7 ms
  static constexpr int kTroubles = 3;
  static constexpr int kTroubleFrames = 500;  // 10 s at 50 frames a second
  static constexpr int kCalmFrames = 3000;    // a minute

  int Size() const { return size_; }
  // One frame: whether the device was found behind, and whether the frame is all silence.
  // True when the device should be opened again with Size().
  bool Next(bool device_behind, bool silent);

 private:
  int size_ = kSmallest;
  int troubles_ = 0;
  int since_first_trouble_ = 0;
  int calm_ = 0;
};

}  // namespace starvane
