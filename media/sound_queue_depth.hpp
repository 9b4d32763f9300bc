#pragma once
// How much sound waits in the loudspeaker's queue. Each presented frame brings one frame of
// sound (20 ms); the device takes it from the queue a block at a time on its own clock, and a
// block it finds short is made up with silence: a gap, heard as a click. A frame that comes late
// finds the queue shorter by its lateness, so the queue keeps a cushion of waiting sound ahead
// of each new frame: a device block and a little more, as little as the machine lets it be
// (every sample of it is delay between a key and its sound):
// - a frame that finds the queue dry, or nearly so, makes the cushion deeper (up to kDeepest);
// - after kCalmFrames frames in a row that came in time, it is made a step shallower (down to
//   Shallowest()), so one busy moment does not cost delay for the rest of the game.
// The queue itself changes depth only where it cannot be heard: silence is added in a gap the
// device already played, and a frame of silence is queued as just as much silence as leaves the
// cushion and a frame waiting. Only a queue more than two frames past the cushion (the device's
// clock is slower than the game's) loses a frame of sound.
// Plain C++ with no clock and no device: the SDL loudspeaker asks it at each frame.

#include "media/sound_source.hpp"

namespace starvane {

class SoundQueueDepth {
 public:
  // In samples of each side.
  static constexpr int kDeepest = 4 * kSoundFrameSamples;  // 80 ms
  static constexpr int kGrowth = kSoundFrameSamples / 2;   // each late frame: 10 ms
  static constexpr int kShrink = kSoundFrameSamples / 8;   // each calm stretch: 2.5 ms
  static constexpr int kCalmFrames = 500;                  // 10 s at 50 frames a second
  // A frame that finds less than this waiting came late (or nearly so).
  static constexpr int kLate = kSoundFrameSamples / 8;
  // The first second's frames follow the opening of the window and the device: their lateness
  // says nothing of the machine, and does not deepen the cushion.
  static constexpr int kSettlingFrames = 50;

  struct Step {
    int silence_before = 0;  // samples of silence to queue before the frame
    bool play_frame = true;  // false: the frame is left out (or, silent, replaced by the above)
    // A sound frame left out because the device fell behind the game (see
    // media/sound_device_block.hpp).
    bool device_behind = false;
  };

  // The device takes device_block samples at a time (at most two frames' worth is heeded).
  explicit SoundQueueDepth(int device_block);

  // waiting: samples still queued as the next frame comes; silent: whether that frame is all
  // silence.
  Step Next(int waiting, bool silent);
  // The cushion aimed at, and its least.
  int Cushion() const { return cushion_; }
  int Shallowest() const { return shallowest_; }

 private:
  int shallowest_;
  int cushion_;
  int calm_ = 0;
  int frames_ = 0;
};

}  // namespace starvane
