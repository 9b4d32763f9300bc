#pragma once
// A player's keyboard, game controller and touch controls as the game's own keys: the one
// translation both live backends (SDL's, the browser's) feed with what the player does and ask
// at each capture. What it makes of a key depends on what the game is showing (the input mode,
// media/input_mode.hpp) and on the player's bindings (media/key_bindings.hpp):
//
// - In flight, the pause and the STATS page the keyboard goes through the bindings: a key bound
//   to actions makes each action's game key; a key bound to nothing that is not itself the game
//   key of any action comes as itself (Escape, O, the F-keys, ...); a game key's own key that
//   the player bound elsewhere makes nothing.
// - In flight the controller goes through the bindings too, and "next weapon" presses the weapon
//   key after the one chosen (1, 2, 3, 1, ..., following weapons chosen on the keyboard too).
// - In the launcher's windows the controller works the menus: its d-pad and left stick are the
//   arrow keys, A Return, B Escape, X Backspace, the shoulders Shift+Tab and Tab, Y is O, Start
//   P and Back F1. In the pause Start and B go on (P), Y is O (options), Back F1 (the controls)
//   and X Escape (end the game). On the STATS page it moves the game's pointer (left stick and
//   d-pad), A is the pointer's left button, B and Back close the page (C), Start pauses.
// - While a key is chosen (Capture) every key and controller input comes as itself.
// - A controller's button held when the mode changes makes nothing in the new mode until it is
//   let go (B held to dash does not go on from the pause at once), and so does a key held from the
//   launcher into flight or back (a Return held into flight never dashes). A key held between
//   flight, the pause and the STATS page, where keys mean the same, acts on.
// - A press quicker than one capture still shows as held at one capture.
// Touch controls give game keys, which are never translated and join the rest.

#include <array>
#include <cstdint>
#include <vector>

#include "media/input_mode.hpp"
#include "media/key_bindings.hpp"
#include "media/keys.hpp"

namespace starvane {

// What the controller did to the game's pointer since the last capture of the mouse.
struct PadPointer {
  int dx = 0;
  int dy = 0;
  bool left_button = false;
};

class LiveKeys {
 public:
  LiveKeys();

  void SetMode(InputMode mode);
  InputMode Mode() const { return mode_; }
  void SetBindings(const KeyBindings& bindings);

  // A keyboard key (1..223) or a controller's pad key (kPadKeyFirst..kPadKeyLast) went down or
  // up; other codes are ignored.
  void SetKey(int code, bool down);
  // Whether a keyboard key that went down and up between two captures shows at one (the
  // browser's launcher reads the ordered key events instead, which the states must follow).
  void HoldKeyboardTaps(bool held);
  // The window lost the focus: no key of the keyboard or the touch screen will be heard going
  // up, so all are let go.
  void LetGoOfKeyboard();
  // A touch control: the game's own key, down or up, and a tap of "next weapon".
  void SetGameKey(int key, bool down);
  void NextWeapon();

  // The game's keys now. Taps since the last capture show here once.
  void Capture(KeyStates& game);
  // The STATS page's pointer moved and pressed by the controller since the last call (nothing
  // in the other modes).
  PadPointer CapturePadPointer();

  // The keyboard's keys come as themselves (Windows, Capture): its events (presses with their
  // repeats, typed text) then mean what they say.
  bool KeyboardRaw() const { return mode_ == InputMode::Windows || mode_ == InputMode::Capture; }
  // A key held across the last change of mode that has not been let go yet.
  bool Silenced(int code) const;
  // The keyboard's events as the game may take them: its presses and releases only where its
  // keys come as themselves, and never for a key held across a change of mode (its repeats
  // would press it); elsewhere the media layer makes them of the states. Typed text stays.
  KeyEvents EventsThatMeanWhatTheySay(KeyEvents events) const;

 private:
  void TranslateKeyboard(const KeyStates& held, KeyStates& game) const;
  void TranslatePad(const KeyStates& held, KeyStates& game);
  void NoteWeaponKeys(const KeyStates& game);
  void HoldBackTab(bool shoulder, KeyStates& game);

  InputMode mode_ = InputMode::Windows;
  // For each key and pad key: the game keys the player's bindings make of it, whether it is
  // bound to "next weapon", and whether it is the game key of any action.
  std::array<std::vector<int>, kKeyCount> made_;
  std::array<bool, kKeyCount> next_weapon_{};
  std::array<bool, kKeyCount> game_key_{};
  KeyStates down_{};
  KeyStates pressed_{};   // went down since the last capture
  KeyStates silenced_{};  // held across a change of mode
  bool keyboard_taps_held_ = true;
  KeyStates touch_down_{};
  KeyStates touch_pressed_{};
  bool touch_next_weapon_ = false;  // a tap of the touch "next weapon" for the next capture
  bool next_weapon_held_ = false;   // at the last capture
  int weapon_ = 1;                  // the weapon chosen, or about to be (a game starts on 1)
  int pointer_speed_ = 0;           // the pointer's step, growing while it is moved
  bool button_pressed_ = false;     // A went down since the last capture of the pointer
  bool back_tab_shifted_ = false;   // the left shoulder held Shift at the last capture
  bool back_tab_owed_ = false;      // ... and its Tab is still to come
};

}  // namespace starvane
