#include "media/pad_keys.hpp"

#include "media/key_bindings.hpp"

namespace starvane {
namespace {

static_assert(kPadKeyA + static_cast<int>(kPadButtonCount) - 1 == kPadKeyRight,
              "the buttons' pad keys follow PadButton's order");

constexpr std::size_t PadAxisIndex(PadAxis axis) {
  return static_cast<std::size_t>(axis);
}

// Each axis's pad keys: below the dead zone's negative end, beyond its positive end (0: none,
// the triggers rest at 0 and only press).
struct AxisKeys {
  PadAxis axis;
  int negative;
  int positive;
};
constexpr AxisKeys kAxisKeys[] = {
    {PadAxis::LeftX, kPadKeyLeftStickLeft, kPadKeyLeftStickRight},
    {PadAxis::LeftY, kPadKeyLeftStickUp, kPadKeyLeftStickDown},
    {PadAxis::RightX, kPadKeyRightStickLeft, kPadKeyRightStickRight},
    {PadAxis::RightY, kPadKeyRightStickUp, kPadKeyRightStickDown},
    {PadAxis::LeftTrigger, 0, kPadKeyLeftTrigger},
    {PadAxis::RightTrigger, 0, kPadKeyRightTrigger},
};

}  // namespace

void PadKeys::SetButton(PadButton button, bool down) {
  const auto index = static_cast<std::size_t>(button);
  if (index < kPadButtonCount) down_[index] = down;
}

void PadKeys::SetAxis(PadAxis axis, int value) {
  const std::size_t index = PadAxisIndex(axis);
  if (index < kPadAxisCount) axes_[index] = value;
}

void PadKeys::HoldPadKeys(KeyStates& keys) const {
  for (std::size_t i = 0; i < kPadButtonCount; ++i) {
    if (down_[i]) keys[static_cast<std::size_t>(kPadKeyA) + i] = 1;
  }
  for (const AxisKeys& axis : kAxisKeys) {
    const int value = axes_[PadAxisIndex(axis.axis)];
    if (axis.negative != 0 && value <= -kPadDeadZone) {
      keys[static_cast<std::size_t>(axis.negative)] = 1;
    }
    if (value >= kPadDeadZone) keys[static_cast<std::size_t>(axis.positive)] = 1;
  }
}

}  // namespace starvane
