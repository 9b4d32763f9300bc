#include "sound/volume_curve.hpp"

#include <algorithm>
#include <cmath>

namespace starvane {
namespace {

constexpr int kFullVolume = 100;
constexpr int kStraightBelow = 10;  // where the curve in decibels gives way to a line to 0

// 0.2 dB a step: 10^(0.2 (volume - 100) / 20).
float DecibelGain(int volume) {
  return static_cast<float>(std::pow(10.0, (volume - kFullVolume) / 100.0));
}

}  // namespace

float VolumeGain(int volume) {
  const int clamped = std::clamp(volume, 0, kFullVolume);
  if (clamped == kFullVolume) return 1;
  if (clamped >= kStraightBelow) return DecibelGain(clamped);
  return DecibelGain(kStraightBelow) * static_cast<float>(clamped) / kStraightBelow;
}

}  // namespace starvane
