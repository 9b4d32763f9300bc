#pragma once
// The player's keys: which key of the keyboard, and which button or stick of a game controller,
// makes each of the game's keys. The game itself only ever sees its own keys (media/keys.hpp:
// Space fires, Up thrusts, ...), and so do its recordings: a binding changes what a player's
// key does before the game sees it, so a replay plays the same whatever the bindings of the
// machine that replays it.
//
// A game controller's buttons and stick directions have key codes of their own above the
// keyboard's (kPadKeyFirst .. kPadKeyLast: "PadA", "PadLeftStickUp", ...), so that one table
// binds both and a binding names either the same way.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "media/keys.hpp"

namespace starvane {

// The game controller's inputs as key codes: its buttons in the order of PadButton
// (media/pad_keys.hpp), then the sticks' directions and the triggers.
enum PadKeyCode : int {
  kPadKeyFirst = 224,
  kPadKeyA = kPadKeyFirst,
  kPadKeyB,
  kPadKeyX,
  kPadKeyY,
  kPadKeyBack,
  kPadKeyGuide,
  kPadKeyStart,
  kPadKeyLeftStick,  // the left stick pressed
  kPadKeyRightStick,
  kPadKeyLeftShoulder,
  kPadKeyRightShoulder,
  kPadKeyUp,  // the d-pad
  kPadKeyDown,
  kPadKeyLeft,
  kPadKeyRight,
  kPadKeyLeftStickLeft,
  kPadKeyLeftStickRight,
  kPadKeyLeftStickUp,
  kPadKeyLeftStickDown,
  kPadKeyRightStickLeft,
  kPadKeyRightStickRight,
  kPadKeyRightStickUp,
  kPadKeyRightStickDown,
  kPadKeyLeftTrigger,
  kPadKeyRightTrigger,
  kPadKeyLast = kPadKeyRightTrigger,
};
constexpr bool IsPadKey(int code) {
  return code >= kPadKeyFirst && code <= kPadKeyLast;
}

// What a player can bind: each of the game's keys, and the controller's "next weapon".
enum class GameAction : std::uint8_t {
  TurnLeft,
  TurnRight,
  Thrust,
  Brake,
  Fire,
  Weapon1,
  Weapon2,
  Weapon3,
  NextWeapon,  // no key of the game's own: it presses the weapon key after the one chosen
  TurretLeft,
  TurretRight,
  Shield,
  Shock,
  Boost,
  Teleport,
  Dash,
  Stats,
  Pause,
  Controls,
  Mute,
  Screenshot,
  Count,  // not an action: the number of them
};
constexpr std::size_t kGameActionCount = static_cast<std::size_t>(GameAction::Count);

struct GameActionInfo {
  GameAction action;
  std::string_view name;  // in settings.txt: "keys.<name>" ("turn-left", "fire", ...)
  int game_key;           // the game's own key it makes (0: NextWeapon)
  std::string_view what;  // for players: "turn left", "fire the chosen weapon"
  // The defaults: keyboard keys and controller inputs (0: none).
  std::array<int, 2> keyboard;
  std::array<int, 2> pad;
};
// In GameAction's order.
extern const std::array<GameActionInfo, kGameActionCount> kGameActions;
const GameActionInfo& InfoOf(GameAction action);
// The action of this settings name ("thrust"), or nullptr.
const GameActionInfo* ActionNamed(std::string_view name);

// Escape (the way out of every page, and the end of a game) and Alt+Enter are the game's own and
// cannot be bound, nor can any action be bound to them.
bool Bindable(int code);

class KeyBindings {
 public:
  // The defaults: every action on its own key and the controller's layout of pad_keys.hpp.
  KeyBindings();

  // The keys and controller inputs bound to the action (keyboard ones first), in the order
  // given; an action may have none.
  const std::vector<int>& KeysOf(GameAction action) const;
  // Binds the action to this key alone among the keys of its kind: a keyboard key replaces the
  // action's keyboard keys, a controller input its controller inputs. Nothing for a key that is
  // not Bindable.
  void Bind(GameAction action, int code);
  // Sets every key of the action at once (settings.txt); keys not Bindable are left out.
  void SetKeys(GameAction action, std::vector<int> codes);
  // The action back to its default keys, or every action.
  void ResetToDefault(GameAction action);
  void ResetAll() { *this = KeyBindings(); }

  // The actions bound to this key (more than one: a conflict, shown on the options page; each
  // of them acts).
  std::vector<GameAction> ActionsOf(int code) const;
  bool HasConflict(GameAction action) const;

  bool operator==(const KeyBindings&) const = default;

 private:
  std::array<std::vector<int>, kGameActionCount> keys_;
};

// "keys.<name>" lines for settings.txt, one per action, in GameAction's order: the value is the
// key names (KeyName) apart by spaces, or "none".
std::vector<std::string> KeyBindingLines(const KeyBindings& bindings);
// Reads one such line's name and value into bindings; false when the name is no action's or a
// key name is unknown (the line is then left alone).
bool ReadKeyBindingLine(std::string_view name, std::string_view value, KeyBindings& bindings);

}  // namespace starvane
