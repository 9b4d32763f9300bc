#pragma once
// The loudspeaker: SDL's default audio device, opened at the first frame of sound and fed a
// frame of the game's mix at each presented frame, behind a cushion that deepens when frames
// come late (media/sound_queue_depth.hpp), in blocks that grow when the sound server falls
// behind (media/sound_device_block.hpp). A machine without a working audio device plays
// silently; that is no error.

#include <SDL.h>

#include <cstdint>
#include <span>

#include "media/sound_device_block.hpp"
#include "media/sound_queue_depth.hpp"

namespace starvane {

class SdlSound {
 public:
  SdlSound() = default;
  SdlSound(const SdlSound&) = delete;
  SdlSound& operator=(const SdlSound&) = delete;
  ~SdlSound() { Close(); }

  void Queue(std::span<const std::int16_t> samples);
  // Closes the device; called before SDL_Quit.
  void Close();

 private:
  bool tried_ = false;
  SDL_AudioDeviceID device_ = 0;
  SoundDeviceBlock block_;
  SoundQueueDepth depth_{SoundDeviceBlock::kSmallest};
};

}  // namespace starvane
