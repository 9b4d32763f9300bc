#pragma once
// A game controller as the game's keys: the buttons and axes of a standard controller (the
// layout of an Xbox pad: A at the bottom of the four face buttons, B right, X left, Y top) go in,
// the keys they hold come out, merged into the keyboard's state. So the game, its recordings
// and its replays only ever see keys.
//
//   left stick, d-pad   Left, Right (turn), Up (thrust), Down (brake)
//   A                   Space (fire)
//   B                   Return (dash)
//   X                   LeftControl (shield)
//   Y                   the next weapon (kWeaponKeys): 1, 2, 3, then 1 again
//   left, right shoulder A, D (the turret)
//   left trigger        T (teleport, held)
//   right trigger       S (shock)
//   left stick pressed  B (boost)
//   Start               P (pause)
//   Back                C (the STATS page)

#include <array>
#include <cstddef>
#include <cstdint>

#include "media/keys.hpp"

namespace starvane {

// In the order of SDL's standard controller, so that a backend can pass its numbers on.
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

// One controller's buttons and axes, and the keys they hold.
class PadKeys {
 public:
  // A button went down or up. The weapon button chooses the weapon after the one selected.
  void SetButton(PadButton button, bool down);
  // An axis moved: sticks from -32768 (left, up) to 32767 (right, down), triggers 0 to 32767.
  void SetAxis(PadAxis axis, int value);

  // Adds the keys the pad holds to keys. A button pressed since the last capture shows as
  // held at this one even when it was let go in between, so a tap quicker than a frame acts.
  void HoldKeys(KeyStates& keys);

  // The game selects a weapon when its key is let go. Told the keys the game sees (keyboard and
  // pad together), the pad notes a held weapon key as the weapon about to be selected, so the
  // weapon button goes on from the weapon chosen on the keyboard too.
  void NoteWeaponKeys(const KeyStates& keys);

 private:
  std::array<bool, kPadButtonCount> down_{};
  std::array<bool, kPadButtonCount> pressed_since_capture_{};
  std::array<int, kPadAxisCount> axes_{};
  int weapon_ = 1;      // the weapon the game has, or is about to select (a game starts on 1)
  int weapon_key_ = 0;  // the weapon key the weapon button holds
};

}  // namespace starvane
