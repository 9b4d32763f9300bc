#include "media/pad_keys.hpp"

namespace starvane {
namespace {

// The key each button holds; 0 for none. The weapon button's key depends on the weapon.
constexpr std::array<int, kPadButtonCount> kButtonKeys = {
    kKeySpace,        // A: fire
    kKeyReturn,       // B: dash
    kKeyLeftControl,  // X: shield
    0,                // Y: the next weapon
    kKeyC,            // Back: the STATS page
    0,                // Guide: the system's
    kKeyP,            // Start: pause
    kKeyB,            // left stick pressed: boost
    0,                // right stick pressed
    kKeyA,            // left shoulder: turret left
    kKeyD,            // right shoulder: turret right
    kKeyUp,           // d-pad: thrust, brake, turn
    kKeyDown,
    kKeyLeft,
    kKeyRight,
};

constexpr std::size_t Index(PadButton button) {
  return static_cast<std::size_t>(button);
}
constexpr std::size_t Index(PadAxis axis) {
  return static_cast<std::size_t>(axis);
}

}  // namespace

void PadKeys::SetButton(PadButton button, bool down) {
  const std::size_t index = Index(button);
  if (index >= kPadButtonCount) return;
  if (down && !down_[index]) {
    pressed_since_capture_[index] = true;
    if (button == PadButton::Y) {
      weapon_ = weapon_ % static_cast<int>(kWeaponKeys.size()) + 1;
      weapon_key_ = kWeaponKeys[static_cast<std::size_t>(weapon_ - 1)];
    }
  }
  down_[index] = down;
}

void PadKeys::SetAxis(PadAxis axis, int value) {
  const std::size_t index = Index(axis);
  if (index < kPadAxisCount) axes_[index] = value;
}

void PadKeys::HoldKeys(KeyStates& keys) {
  auto hold = [&keys](int key) { keys[static_cast<std::size_t>(key)] = 1; };
  for (std::size_t i = 0; i < kPadButtonCount; ++i) {
    if (!down_[i] && !pressed_since_capture_[i]) continue;
    const int key = i == Index(PadButton::Y) ? weapon_key_ : kButtonKeys[i];
    if (key > 0) hold(key);
  }
  pressed_since_capture_ = {};
  if (axes_[Index(PadAxis::LeftX)] <= -kPadDeadZone) hold(kKeyLeft);
  if (axes_[Index(PadAxis::LeftX)] >= kPadDeadZone) hold(kKeyRight);
  if (axes_[Index(PadAxis::LeftY)] <= -kPadDeadZone) hold(kKeyUp);
  if (axes_[Index(PadAxis::LeftY)] >= kPadDeadZone) hold(kKeyDown);
  if (axes_[Index(PadAxis::LeftTrigger)] >= kPadDeadZone) hold(kKeyT);
  if (axes_[Index(PadAxis::RightTrigger)] >= kPadDeadZone) hold(kKeyS);
}

void PadKeys::NoteWeaponKeys(const KeyStates& keys) {
  // Keys let go together select in key order, so the highest held one is the one that stays.
  for (std::size_t i = 0; i < kWeaponKeys.size(); ++i) {
    if (keys[static_cast<std::size_t>(kWeaponKeys[i])] != 0) weapon_ = static_cast<int>(i) + 1;
  }
}

}  // namespace starvane
