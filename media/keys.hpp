#pragma once
// Key codes: the classic PC keyboard scan codes (Escape 1, the top-row 1 is 2, Return 28,
// Space 57, the cursor keys 200, 203, 205, 208, ...). A code names a physical key position, so
// the flight keys sit in the same place on any keyboard layout.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace starvane {

constexpr int kKeyCount = 256;
using KeyStates = std::array<std::uint8_t, kKeyCount>;  // non-zero: the key is down

// What the keyboard did between two examinations, in the order it happened: a key went down
// (again while it is held, when the system repeats it), a key went up, text was typed. Text
// fields edit by these, so that no quick press is lost and none is taken out of turn.
struct KeyEvent {
  enum class Kind { Down, Up, Text };
  Kind kind = Kind::Down;
  int key = 0;         // Down, Up: the key code, 0..255
  std::string text{};  // Text: the bytes typed (UTF-8 from a real keyboard)
};
using KeyEvents = std::vector<KeyEvent>;

// The events as they lead from one key state to the next: a key's release that finds it up is
// dropped, and keys whose state changed with no event for it (a press the system did not tell
// of, a whole game of no events) get one at the end, the presses first, in key order. So every
// press and release shows as one event, and a script replays the events and states alike.
KeyEvents MatchKeyEvents(KeyEvents events, const KeyStates& before, const KeyStates& after);

enum KeyCode : int {
  kKeyEscape = 1,
  kKey1 = 2,
  kKey2 = 3,
  kKey3 = 4,
  kKeyBackspace = 14,
  kKeyTab = 15,
  kKeyT = 20,
  kKeyO = 24,
  kKeyP = 25,
  kKeyReturn = 28,
  kKeyLeftControl = 29,
  kKeyA = 30,
  kKeyS = 31,
  kKeyD = 32,
  kKeyLeftShift = 42,
  kKeyC = 46,
  kKeyB = 48,
  kKeyM = 50,
  kKeyRightShift = 54,
  kKeySpace = 57,
  kKeyF1 = 59,
  kKeyF12 = 88,
  kKeyKeypadEnter = 156,
  kKeyRightControl = 157,
  kKeyHome = 199,
  kKeyUp = 200,
  kKeyLeft = 203,
  kKeyRight = 205,
  kKeyEnd = 207,
  kKeyDown = 208,
  kKeyDelete = 211,
};

// The keys that choose the player's weapons, in the weapons' order. The weapons themselves are
// the world's (world/weapons.hpp, which checks that its keys are these); the list lives here so
// that the game controller's weapon button can step through it.
constexpr auto kWeaponKeys = std::to_array<int>({kKey1, kKey2, kKey3});

// The code of a key by its usual name ("Escape", "1", "Return", "LeftControl", "Up", "F5",
// "Keypad7", ...; letter case does not matter) or by its code written in decimal, 0 to 255.
// A single digit names the key of that digit, not the code.
std::optional<int> KeyByName(std::string_view name);

// The usual name of a key code, or its code in decimal when it has none; code 0 is "00", since
// "0" names the 0 key. KeyByName reads every such name back to its code.
std::string_view KeyName(int code);

// The key as the cap of a US keyboard labels it, for players to read: the usual name with its
// words apart ("Left Control", "Return", "A"). A backend that knows the player's layout names
// the key its own way (Display::KeyLabel).
std::string UsKeyLabel(int code);

}  // namespace starvane
