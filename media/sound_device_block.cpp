#include "media/sound_device_block.hpp"

namespace starvane {

bool SoundDeviceBlock::Next(bool device_behind, bool silent) {
  if (troubles_ > 0 && ++since_first_trouble_ > kTroubleFrames) troubles_ = 0;
  if (device_behind) {
    calm_ = 0;
    if (troubles_++ == 0) since_first_trouble_ = 0;
    if (troubles_ >= kTroubles && size_ < kLargest) {
      size_ *= 2;
      troubles_ = 0;
      return true;
    }
    return false;
  }
  if (calm_ < kCalmFrames) ++calm_;
  if (calm_ >= kCalmFrames && silent && size_ > kSmallest) {
    size_ /= 2;
    calm_ = 0;
    return true;
  }
  return false;
}

}  // namespace starvane
