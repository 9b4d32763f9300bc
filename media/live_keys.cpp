#include "media/live_keys.hpp"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace starvane {
namespace {

// The controller in the launcher's windows and the pause: each pad key and the keys it holds.
struct MenuKey {
  int pad;
  int keys[2];
};
constexpr MenuKey kMenuKeys[] = {
    {kPadKeyUp, {kKeyUp}},       {kPadKeyLeftStickUp, {kKeyUp}},
    {kPadKeyDown, {kKeyDown}},   {kPadKeyLeftStickDown, {kKeyDown}},
    {kPadKeyLeft, {kKeyLeft}},   {kPadKeyLeftStickLeft, {kKeyLeft}},
    {kPadKeyRight, {kKeyRight}}, {kPadKeyLeftStickRight, {kKeyRight}},
    {kPadKeyA, {kKeyReturn}},    {kPadKeyB, {kKeyEscape}},
    {kPadKeyX, {kKeyBackspace}}, {kPadKeyRightShoulder, {kKeyTab}},
    {kPadKeyY, {kKeyO}},         {kPadKeyStart, {kKeyP}},
    {kPadKeyBack, {kKeyF1}},
};

// The controller in the pause. B, the way back in every menu, goes back to the game here, as
// Start does: were it Escape, the menus' B would end the game of a player who only meant to
// leave the pause (B dashes in flight, too). Ending takes X, which no menu uses for leaving.
constexpr MenuKey kPauseKeys[] = {
    {kPadKeyStart, {kKeyP}}, {kPadKeyB, {kKeyP}},      {kPadKeyY, {kKeyO}},
    {kPadKeyBack, {kKeyF1}}, {kPadKeyX, {kKeyEscape}},
};

// The controller on the STATS page, besides the pointer it moves and presses.
constexpr MenuKey kWorkshopKeys[] = {
    {kPadKeyB, {kKeyC}},
    {kPadKeyBack, {kKeyC}},
    {kPadKeyStart, {kKeyP}},
};

// The pointer's step in pixels per capture: slow at first, for aiming at a small button, then
// faster the longer it is moved, for crossing the page.
constexpr int kPointerFirstStep = 3;
constexpr int kPointerLongestStep = 14;

bool IsKeyboardKey(int code) {
  return code > 0 && code < kPadKeyFirst;
}

void Hold(KeyStates& keys, int key) {
  if (key > 0 && key < kKeyCount) keys[static_cast<std::size_t>(key)] = 1;
}

bool Held(const KeyStates& keys, int key) {
  return key > 0 && key < kKeyCount && keys[static_cast<std::size_t>(key)] != 0;
}

template <std::size_t N>
void HoldMapped(const MenuKey (&map)[N], const KeyStates& held, KeyStates& game) {
  for (const MenuKey& entry : map) {
    if (!Held(held, entry.pad)) continue;
    for (const int key : entry.keys) Hold(game, key);
  }
}

}  // namespace

LiveKeys::LiveKeys() {
  SetBindings(KeyBindings());
}

void LiveKeys::SetBindings(const KeyBindings& bindings) {
  for (auto& made : made_) made.clear();
  next_weapon_ = {};
  game_key_ = {};
  for (const GameActionInfo& info : kGameActions) {
    if (info.game_key > 0 && info.game_key < kKeyCount) {
      game_key_[static_cast<std::size_t>(info.game_key)] = true;
    }
    for (const int code : bindings.KeysOf(info.action)) {
      if (code <= 0 || code >= kKeyCount) continue;
      const auto index = static_cast<std::size_t>(code);
      if (info.action == GameAction::NextWeapon) {
        next_weapon_[index] = true;
      } else if (info.game_key > 0) {
        made_[index].push_back(info.game_key);
      }
    }
  }
}

void LiveKeys::SetMode(InputMode mode) {
  if (mode == mode_) return;
  // The keyboard's keys change their meaning only between keys as themselves and keys through
  // the bindings: held across any other change (flight, the pause, the STATS page) they act on,
  // as a player holding thrust through the end of a pause expects. A controller's always change.
  const bool keyboard_changes =
      KeyboardRaw() != (mode == InputMode::Windows || mode == InputMode::Capture);
  mode_ = mode;
  for (std::size_t code = 0; code < silenced_.size(); ++code) {
    if (IsKeyboardKey(static_cast<int>(code)) && !keyboard_changes) continue;
    if (down_[code] != 0 || pressed_[code] != 0) silenced_[code] = 1;
  }
  pressed_ = {};
  next_weapon_held_ = false;
  pointer_speed_ = 0;
  button_pressed_ = false;
  back_tab_owed_ = back_tab_shifted_ = false;
}

void LiveKeys::SetKey(int code, bool down) {
  if (code <= 0 || code > kPadKeyLast) return;
  const auto index = static_cast<std::size_t>(code);
  if (!down) {
    down_[index] = 0;
    silenced_[index] = 0;
    return;
  }
  if (down_[index] == 0 && (keyboard_taps_held_ || IsPadKey(code))) pressed_[index] = 1;
  if (down_[index] == 0 && code == kPadKeyA) button_pressed_ = true;
  down_[index] = 1;
}

void LiveKeys::HoldKeyboardTaps(bool held) {
  keyboard_taps_held_ = held;
  if (held) return;
  for (int code = 1; code < kPadKeyFirst; ++code) pressed_[static_cast<std::size_t>(code)] = 0;
}

void LiveKeys::LetGoOfKeyboard() {
  for (int code = 1; code < kPadKeyFirst; ++code) {
    const auto index = static_cast<std::size_t>(code);
    down_[index] = pressed_[index] = silenced_[index] = 0;
  }
  touch_down_ = {};
  touch_pressed_ = {};
}

void LiveKeys::SetGameKey(int key, bool down) {
  if (key <= 0 || key >= kPadKeyFirst) return;
  const auto index = static_cast<std::size_t>(key);
  if (down && touch_down_[index] == 0) touch_pressed_[index] = 1;
  touch_down_[index] = down ? 1 : 0;
}

void LiveKeys::NextWeapon() {
  if (mode_ != InputMode::Flight) return;
  weapon_ = weapon_ % static_cast<int>(kWeaponKeys.size()) + 1;
  touch_next_weapon_ = true;
}

bool LiveKeys::Silenced(int code) const {
  return code > 0 && code < kKeyCount && silenced_[static_cast<std::size_t>(code)] != 0;
}

KeyEvents LiveKeys::EventsThatMeanWhatTheySay(KeyEvents events) const {
  std::erase_if(events, [this](const KeyEvent& event) {
    return event.kind != KeyEvent::Kind::Text && (!KeyboardRaw() || Silenced(event.key));
  });
  return events;
}

void LiveKeys::Capture(KeyStates& game) {
  game.fill(0);
  // What is held for this capture (taps since the last one included), keys held across a change
  // of mode left out, apart by kind.
  KeyStates keyboard{};
  KeyStates pad{};
  for (int code = 1; code <= kPadKeyLast; ++code) {
    const auto index = static_cast<std::size_t>(code);
    if (silenced_[index] != 0 || (down_[index] == 0 && pressed_[index] == 0)) continue;
    (IsKeyboardKey(code) ? keyboard : pad)[index] = 1;
  }
  pressed_ = {};
  if (KeyboardRaw()) {
    game = keyboard;
  } else {
    TranslateKeyboard(keyboard, game);
  }
  TranslatePad(pad, game);
  for (std::size_t key = 0; key < game.size(); ++key) {
    if (touch_down_[key] != 0 || touch_pressed_[key] != 0) game[key] = 1;
  }
  touch_pressed_ = {};
  if (mode_ == InputMode::Flight) {
    // "Next weapon" steps once per press and holds the weapon's key while held: the game
    // chooses the weapon as its key is let go.
    bool next_held = false;
    for (std::size_t code = 0; code < game.size(); ++code) {
      next_held = next_held || (next_weapon_[code] && (keyboard[code] != 0 || pad[code] != 0));
    }
    if (next_held && !next_weapon_held_)
      weapon_ = weapon_ % static_cast<int>(kWeaponKeys.size()) + 1;
    next_weapon_held_ = next_held;
    if (next_held || touch_next_weapon_) {
      Hold(game, kWeaponKeys[static_cast<std::size_t>(weapon_ - 1)]);
    }
    NoteWeaponKeys(game);
  }
  touch_next_weapon_ = false;
}

void LiveKeys::TranslateKeyboard(const KeyStates& held, KeyStates& game) const {
  for (std::size_t code = 1; code < static_cast<std::size_t>(kPadKeyFirst); ++code) {
    if (held[code] == 0) continue;
    if (!made_[code].empty()) {
      for (const int key : made_[code]) Hold(game, key);
    } else if (!game_key_[code] && !next_weapon_[code]) {
      game[code] = 1;  // a key of no action's: Escape, O, the F-keys, ...
    }
  }
}

void LiveKeys::TranslatePad(const KeyStates& held, KeyStates& game) {
  switch (mode_) {
    case InputMode::Flight:
      for (int code = kPadKeyFirst; code <= kPadKeyLast; ++code) {
        if (!Held(held, code)) continue;
        for (const int key : made_[static_cast<std::size_t>(code)]) Hold(game, key);
      }
      return;
    case InputMode::Windows:
      HoldMapped(kMenuKeys, held, game);
      HoldBackTab(Held(held, kPadKeyLeftShoulder), game);
      return;
    case InputMode::Pause:
      HoldMapped(kPauseKeys, held, game);
      return;
    case InputMode::Workshop:
      HoldMapped(kWorkshopKeys, held, game);
      return;
    case InputMode::Capture:
      for (int code = kPadKeyFirst; code <= kPadKeyLast; ++code) {
        if (Held(held, code)) Hold(game, code);
      }
      return;
  }
}

// The left shoulder is Shift+Tab. Keys that go down at one capture come to the windows in key
// order, Tab before Shift, which would read a plain Tab: so Shift goes down first, and Tab from
// the next capture on (a tap owes its Tab to the capture after it).
void LiveKeys::HoldBackTab(bool shoulder, KeyStates& game) {
  if (!shoulder && !back_tab_owed_) {
    back_tab_shifted_ = false;
    return;
  }
  Hold(game, kKeyLeftShift);
  if (back_tab_shifted_) {
    Hold(game, kKeyTab);
    back_tab_owed_ = false;
  } else {
    back_tab_owed_ = true;
  }
  back_tab_shifted_ = true;
}

// Keys let go together select in key order, so the highest held one is the one that stays.
void LiveKeys::NoteWeaponKeys(const KeyStates& game) {
  for (std::size_t i = 0; i < kWeaponKeys.size(); ++i) {
    if (Held(game, kWeaponKeys[i])) weapon_ = static_cast<int>(i) + 1;
  }
}

PadPointer LiveKeys::CapturePadPointer() {
  PadPointer pointer;
  if (mode_ != InputMode::Workshop) return pointer;
  const auto held = [this](int code) {
    const auto index = static_cast<std::size_t>(code);
    return down_[index] != 0 && silenced_[index] == 0;
  };
  const int x = (held(kPadKeyRight) || held(kPadKeyLeftStickRight) ? 1 : 0) -
                (held(kPadKeyLeft) || held(kPadKeyLeftStickLeft) ? 1 : 0);
  const int y = (held(kPadKeyDown) || held(kPadKeyLeftStickDown) ? 1 : 0) -
                (held(kPadKeyUp) || held(kPadKeyLeftStickUp) ? 1 : 0);
  if (x == 0 && y == 0) {
    pointer_speed_ = 0;
  } else {
    pointer_speed_ = std::clamp(pointer_speed_ + 1, kPointerFirstStep, kPointerLongestStep);
  }
  pointer.dx = x * pointer_speed_;
  pointer.dy = y * pointer_speed_;
  pointer.left_button = held(kPadKeyA) || (button_pressed_ && !Silenced(kPadKeyA));
  button_pressed_ = false;
  return pointer;
}

}  // namespace starvane
