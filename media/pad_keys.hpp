#pragma once
// A game controller's buttons and axes as the controller's own key codes (PadA, PadLeftStickUp,
// ..., media/key_bindings.hpp): a standard controller (the layout of an Xbox pad: A at the bottom
// of the four face buttons, B right, X left, Y top) goes in, the pad keys it holds come out.
// What those make of the game's keys is the player's bindings' business (media/live_keys.hpp);
// their defaults are the layout players of the genre expect (media/key_bindings.cpp).

#include <array>
#include <cstddef>
#include <cstdint>

#include "media/keys.hpp"

namespace starvane {

// In the order of SDL's standard controller, so that a backend can pass its numbers on, and of
// the pad key codes (kPadKeyA + the button's number).
enum class PadButton : std::uint8_t {
  A,
  B,
  X,
  Y,
  Back,
  Guide,
  Start,
  LeftStick,
  RightStick,
  LeftShoulder,
  RightShoulder,
  DpadUp,
  DpadDown,
  DpadLeft,
  DpadRight,
  Count,  // not a button: the number of them
};
constexpr std::size_t kPadButtonCount = static_cast<std::size_t>(PadButton::Count);

enum class PadAxis : std::uint8_t {
  LeftX,
  LeftY,
  RightX,
  RightY,
  LeftTrigger,
  RightTrigger,
  Count,  // not an axis: the number of them
};
constexpr std::size_t kPadAxisCount = static_cast<std::size_t>(PadAxis::Count);

// How far a stick or trigger must move (of 32767) before it holds its key: a stick at rest
// never sits exactly at 0, and a worn one drifts.
constexpr int kPadDeadZone = 8000;

// One controller's buttons and axes, and the pad keys they hold.
class PadKeys {
 public:
  void SetButton(PadButton button, bool down);
  // An axis moved: sticks from -32768 (left, up) to 32767 (right, down), triggers 0 to 32767.
  void SetAxis(PadAxis axis, int value);

  // Marks the pad keys held now in keys (the others are left as they are): each button its own,
  // each stick a direction per half of each axis beyond the dead zone, each trigger its own.
  void HoldPadKeys(KeyStates& keys) const;

 private:
  std::array<bool, kPadButtonCount> down_{};
  std::array<int, kPadAxisCount> axes_{};
};

}  // namespace starvane
