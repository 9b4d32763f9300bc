#include "app/help_page.hpp"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/utf8_text.hpp"
#include "media/font.hpp"
#include "media/key_bindings.hpp"
#include "media/keys.hpp"
#include "world/weapons.hpp"

namespace starvane {

namespace {

constexpr int kLeft = 60;  // the page's box on the 800 x 600 screen
constexpr int kTop = 34;
constexpr int kWidth = 680;
constexpr int kHeight = 532;
constexpr int kKeyColumn = kLeft + 30;
constexpr int kWhatColumn = kLeft + 250;
constexpr int kRowHeight = 15;

// A row of the keyboard's table: the actions whose keys it shows (apart by commas), or a key of
// the game's own that cannot be bound, how they are joined, and what they do.
struct KeyRow {
  std::vector<GameAction> actions;
  int fixed_key;            // with no actions: the key shown
  std::string_view before;  // written before the keys ("Alt+")
  std::string_view after;   // written after them (" (hold)")
  std::string what;
};

// "choose weapon 1, 2 or 3"
std::string WeaponChoice() {
  std::string text = "choose weapon";
  for (std::size_t i = 0; i < kWeapons.size(); ++i) {
    text += i == 0 ? " " : i + 1 == kWeapons.size() ? " or " : ", ";
    text += std::to_string(i + 1);
  }
  return text;
}

// Built once: the page is drawn every frame it is open.
const std::vector<KeyRow>& KeyRows() {
  using A = GameAction;
  static const std::vector<KeyRow> rows = {
      {{A::TurnLeft, A::TurnRight}, 0, "", "", "turn the ship"},
      {{A::Thrust}, 0, "", "", "thrust"},
      {{A::Brake}, 0, "", "", "brake"},
      {{A::Fire}, 0, "", "", "fire the chosen weapon"},
      {{A::Weapon1, A::Weapon2, A::Weapon3}, 0, "", "", WeaponChoice()},
      {{A::NextWeapon}, 0, "", "", "the next weapon"},  // shown only when a key is bound to it
      {{A::TurretLeft, A::TurretRight}, 0, "", "", "turn the turret left, right"},
      {{A::Shield}, 0, "", "", "shield on or off"},
      {{A::Shock}, 0, "", "", "shock on or off"},
      {{A::Boost}, 0, "", "", "boost on or off"},
      {{A::Teleport}, 0, "", " (hold)", "charge the teleport: the jump home"},
      {{A::Dash}, 0, "", "", "dash"},
      {{A::Stats}, 0, "", "", "the STATS workshop (the mouse buys)"},
      {{A::Pause}, 0, "", "", "pause"},
      {{A::Controls}, 0, "", "", "these controls"},
      {{A::Screenshot}, 0, "", "", "screenshot"},
      {{A::Mute}, 0, "", "", "sound off or on"},
      {{}, kKeyReturn, "Alt+", "", "full screen or window"},
      {{}, kKeyEscape, "", "", "end the game (the ship is saved)"},
  };
  return rows;
}

// The game controller's rows: as the default layout groups them, where the actions of a row
// keep their default controller inputs; a row that the player changed shows each of its
// actions' inputs on a line of its own.
struct PadRow {
  std::vector<GameAction> actions;
  std::string_view buttons;
  std::string_view what;
};
const std::vector<PadRow>& PadRows() {
  using A = GameAction;
  static const std::vector<PadRow> rows = {
      {{A::TurnLeft, A::TurnRight, A::Thrust, A::Brake},
       "left stick, d-pad",
       "turn, thrust, brake"},
      {{A::Fire, A::Dash, A::Shield}, "A, B, X", "fire, dash, shield"},
      {{A::NextWeapon}, "Y", "the next weapon"},
      {{A::TurretLeft, A::TurretRight}, "shoulders", "turn the turret"},
      {{A::Teleport, A::Shock}, "left, right trigger", "teleport (hold), shock"},
      {{A::Boost}, "left stick pressed", "boost"},
      {{A::Pause, A::Stats}, "Start, Back", "pause, the STATS workshop"},
      // The pause's own, which no binding changes (media/live_keys.hpp).
      {{}, "paused: B, X", "go on, end the game"},
      // Actions with no controller input by default, shown when the player gave them one.
      {{A::Weapon1, A::Weapon2, A::Weapon3, A::Controls, A::Mute, A::Screenshot}, "", ""},
  };
  return rows;
}

// A controller input as players call it: "A", "Start", "d-pad up", "left stick left",
// "left stick pressed", "right trigger" (its key name's words, in small letters).
std::string PadInputWords(int code) {
  std::string_view name = KeyName(code);
  if (name.starts_with("Pad")) name.remove_prefix(3);
  const bool dpad = name == "Up" || name == "Down" || name == "Left" || name == "Right";
  if (!dpad && name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1) == std::string_view::npos) {
    return std::string(name);  // one word: A, B, X, Y, Back, Guide, Start
  }
  std::string label = dpad ? "d-pad" : "";
  for (const char c : name) {
    if (c >= 'A' && c <= 'Z') {
      if (!label.empty() && label.back() != ' ') label += ' ';
      label += static_cast<char>(c - 'A' + 'a');
    } else {
      label += c;
    }
  }
  if (label == "left stick" || label == "right stick") label += " pressed";
  return label;
}

// The labels of the action's keys of one kind (the keyboard's or the controller's), apart by
// " or "; "none" when it has none.
std::string BoundKeysText(const Media& media, const KeyBindings& bindings, GameAction action,
                          bool pad) {
  std::string text;
  for (const int code : bindings.KeysOf(action)) {
    if (IsPadKey(code) != pad) continue;
    if (!text.empty()) text += " or ";
    text += pad ? PadInputWords(code) : media.KeyLabel(code);
  }
  return text.empty() ? "none" : text;
}

std::vector<int> PadInputsOf(const KeyBindings& bindings, GameAction action) {
  std::vector<int> inputs;
  for (const int code : bindings.KeysOf(action)) {
    if (IsPadKey(code)) inputs.push_back(code);
  }
  return inputs;
}

std::string RowKeysText(const Media& media, const KeyBindings& bindings, const KeyRow& row) {
  std::string text(row.before);
  if (row.actions.empty()) {
    text += media.KeyLabel(row.fixed_key);
  } else {
    bool first = true;
    for (const GameAction action : row.actions) {
      if (!first) text += ", ";
      text += BoundKeysText(media, bindings, action, false);
      first = false;
    }
  }
  text += row.after;
  return text;
}

// The bindings the page shows: a player's, or the game's own for a script, whose replays must
// show the same page everywhere.
KeyBindings BindingsShown(const Media& media) {
  return media.PlayerAtKeys() ? media.Bindings() : KeyBindings();
}

void WriteAt(Canvas& screen, int x, int y, std::string_view text) {
  screen.Locate(x, y);
  screen.DrawText(text);
}

void DrawHeading(Canvas& screen, int y, std::string_view text) {
  screen.FrontColor(255, 255, 0);
  const auto characters = static_cast<int>(std::min<std::size_t>(CharacterCount(text), 80));
  WriteAt(screen, kLeft + (kWidth - characters * kGameFont.width) / 2, y, text);
}

}  // namespace

void DrawHelpPage(Media& media, HelpFrom from) {
  Canvas& screen = media.Screen;
  // A black page with a grey frame, the game's frame around it.
  screen.FrontColor(128, 128, 128);
  screen.Box(kLeft, kTop, kWidth, kHeight);
  screen.FrontColor(0, 0, 0);
  screen.Box(kLeft + 2, kTop + 2, kWidth - 4, kHeight - 4);
  screen.BackColor(0, 0, 0);

  const KeyBindings bindings = BindingsShown(media);
  const KeyBindings defaults;
  const int last_row = kTop + kHeight - 14 - kFontHeight - kRowHeight;  // above the way back
  int y = kTop + 14;
  const auto write_row = [&](std::string_view keys, std::string_view what) {
    if (y > last_row) return;  // more rows than the page holds: the rest is left out
    screen.FrontColor(0, 255, 255);
    WriteAt(screen, kKeyColumn, y, keys);
    // Keys too long for their column push what they do onto the next line.
    if (kKeyColumn + static_cast<int>(CharacterCount(keys)) * kGameFont.width > kWhatColumn - 8) {
      y += kRowHeight;
      if (y > last_row) return;
    }
    screen.FrontColor(255, 255, 255);
    WriteAt(screen, kWhatColumn, y, what);
    y += kRowHeight;
  };
  DrawHeading(screen, y, "CONTROLS");
  y += 2 * kRowHeight;
  for (const KeyRow& row : KeyRows()) {
    if (row.actions.size() == 1 && row.actions[0] == GameAction::NextWeapon &&
        BoundKeysText(media, bindings, GameAction::NextWeapon, false) == "none") {
      continue;
    }
    write_row(RowKeysText(media, bindings, row), row.what);
  }
  y += kRowHeight;
  DrawHeading(screen, y, "GAME CONTROLLER");
  y += 2 * kRowHeight;
  for (const PadRow& row : PadRows()) {
    const bool as_default = std::all_of(row.actions.begin(), row.actions.end(), [&](GameAction a) {
      return PadInputsOf(bindings, a) == PadInputsOf(defaults, a);
    });
    if (as_default && !row.buttons.empty()) {
      write_row(row.buttons, row.what);
      continue;
    }
    for (const GameAction action : row.actions) {
      if (row.buttons.empty() && PadInputsOf(bindings, action).empty()) continue;
      write_row(BoundKeysText(media, bindings, action, true), InfoOf(action).what);
    }
  }
  DrawHeading(screen, kTop + kHeight - 14 - kFontHeight,
              media.BoundKeyLabel(kKeyF1) + ", " + media.BoundKeyLabel(kKeyP) + " or " +
                  media.KeyLabel(kKeyEscape) +
                  (from == HelpFrom::Game ? ": back to the game" : ": back to the launcher"));
}

}  // namespace starvane
