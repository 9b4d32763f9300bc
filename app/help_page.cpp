#include "app/help_page.hpp"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/utf8_text.hpp"
#include "media/font.hpp"
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

// A row of the keyboard's table: its keys, how they are joined, and what they do.
struct KeyRow {
  std::vector<int> keys;
  std::string_view before;  // written before the keys ("Alt+")
  std::string_view after;   // written after them (" (hold)")
  std::string what;
};

std::vector<int> WeaponKeys() {
  std::vector<int> keys;
  for (const Weapon& weapon : kWeapons) keys.push_back(weapon.key);
  return keys;
}

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
  static const std::vector<KeyRow> rows = {
      {{kKeyLeft, kKeyRight}, "", "", "turn the ship"},
      {{kKeyUp}, "", "", "thrust"},
      {{kKeyDown}, "", "", "brake"},
      {{kKeySpace}, "", "", "fire the chosen weapon"},
      {WeaponKeys(), "", "", WeaponChoice()},
      {{kKeyA, kKeyD}, "", "", "turn the turret left, right"},
      {{kKeyLeftControl}, "", "", "shield on or off"},
      {{kKeyS}, "", "", "shock on or off"},
      {{kKeyB}, "", "", "boost on or off"},
      {{kKeyT}, "", " (hold)", "charge the teleport: the jump home"},
      {{kKeyReturn}, "", "", "dash"},
      {{kKeyC}, "", "", "the STATS workshop (the mouse buys)"},
      {{kKeyP}, "", "", "pause"},
      {{kKeyF1}, "", "", "these controls"},
      {{kKeyF12}, "", "", "screenshot"},
      {{kKeyM}, "", "", "sound off or on"},
      {{kKeyReturn}, "Alt+", "", "full screen or window"},
      {{kKeyEscape}, "", "", "end the game (the ship is saved)"},
  };
  return rows;
}

// The game controller's buttons, as pad_keys maps them onto the keys above.
constexpr std::string_view kPadRows[][2] = {
    {"left stick, d-pad", "turn, thrust, brake"},
    {"A, B, X", "fire, dash, shield"},
    {"Y", "the next weapon"},
    {"shoulders", "turn the turret"},
    {"left, right trigger", "teleport (hold), shock"},
    {"left stick pressed", "boost"},
    {"Start, Back", "pause, the STATS workshop"},
};

std::string KeysText(const Media& media, const KeyRow& row) {
  std::string text(row.before);
  bool first = true;
  for (const int key : row.keys) {
    if (!first) text += ", ";
    text += media.KeyLabel(key);
    first = false;
  }
  text += row.after;
  return text;
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

  int y = kTop + 14;
  DrawHeading(screen, y, "CONTROLS");
  y += 2 * kRowHeight;
  for (const KeyRow& row : KeyRows()) {
    screen.FrontColor(0, 255, 255);
    WriteAt(screen, kKeyColumn, y, KeysText(media, row));
    screen.FrontColor(255, 255, 255);
    WriteAt(screen, kWhatColumn, y, row.what);
    y += kRowHeight;
  }
  y += kRowHeight;
  DrawHeading(screen, y, "GAME CONTROLLER");
  y += 2 * kRowHeight;
  for (const auto& [buttons, what] : kPadRows) {
    screen.FrontColor(0, 255, 255);
    WriteAt(screen, kKeyColumn, y, buttons);
    screen.FrontColor(255, 255, 255);
    WriteAt(screen, kWhatColumn, y, what);
    y += kRowHeight;
  }
  DrawHeading(screen, kTop + kHeight - 14 - kFontHeight,
              media.KeyLabel(kKeyF1) + ", " + media.KeyLabel(kKeyP) + " or " +
                  media.KeyLabel(kKeyEscape) +
                  (from == HelpFrom::Game ? ": back to the game" : ": back to the launcher"));
}

}  // namespace starvane
