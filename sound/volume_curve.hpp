#pragma once

namespace starvane {

// The gain of a --volume setting (0 to 100), stepping evenly to the ear: every step is 0.2 dB,
// so 50 is 10 dB down (about half as loud) and 10 is 18 dB down; below 10 the gain falls in a
// straight line to silence at 0. 100 is full scale, exactly 1.
float VolumeGain(int volume);

}  // namespace starvane
