#include "app/options_drawing.hpp"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "base/utf8_text.hpp"
#include "media/font.hpp"

namespace starvane {
namespace {

// The page's box on the canvas, its rows and columns.
constexpr int kBoxLeft = 20;
constexpr int kBoxTop = 20;
constexpr int kBoxWidth = 760;
constexpr int kBoxHeight = 560;
constexpr int kLabelColumn = 36;
constexpr int kKeyboardColumn = kOptionsValueColumn;
constexpr int kPadColumn = 416;
constexpr int kNoteColumn = 592;
constexpr int kFirstRowTop = 64;
constexpr int kOptionsRowHeight = 16;
constexpr int kKeysHeadingHeight = 24;  // between the settings and the actions: the headings
// How many characters fit in a column before the next one.
constexpr std::size_t kKeyboardCharacters = (kPadColumn - kKeyboardColumn) / kFontWidth - 1;
constexpr std::size_t kPadCharacters = (kNoteColumn - kPadColumn) / kFontWidth - 1;
constexpr std::size_t kNoteCharacters = (kBoxLeft + kBoxWidth - kNoteColumn) / kFontWidth - 1;

int OptionsRowTop(int row) {
  const int heading = row >= kOptionsSettingRows ? kKeysHeadingHeight : 0;
  return kFirstRowTop + row * kOptionsRowHeight + heading;
}

void WriteOptionAt(Canvas& screen, int x, int y, std::string_view text) {
  screen.Locate(x, y);
  screen.DrawText(text);
}

// The text cut to what fits its column, a cut shown by its last character, '>'.
std::string OptionsFitted(std::string_view text, std::size_t characters) {
  if (CharacterCount(text) <= characters) return std::string(text);
  return std::string(FirstCharacters(text, characters - 1)) + ">";
}

// A controller's input as its row shows it: its name without "Pad" ("A", "LeftStickUp").
std::string OptionsPadLabel(int code) {
  std::string_view name = KeyName(code);
  if (name.starts_with("Pad")) name.remove_prefix(3);
  return std::string(name);
}

// An action's keyboard keys (as the player's keyboard labels them) or controller inputs,
// apart by commas; "-" for none.
std::string OptionsBoundText(const Media& media, const std::vector<int>& codes, bool pad) {
  std::string text;
  for (const int code : codes) {
    if (IsPadKey(code) != pad) continue;
    if (!text.empty()) text += ", ";
    text += pad ? OptionsPadLabel(code) : media.KeyLabel(code);
  }
  return text.empty() ? "-" : text;
}

// Whether another action shares one of these keys (or controller inputs), and which ones.
std::vector<GameAction> OptionsSharingActions(const KeyBindings& keys, GameAction action,
                                              bool pad) {
  std::vector<GameAction> others;
  for (const int code : keys.KeysOf(action)) {
    if (IsPadKey(code) != pad) continue;
    for (const GameAction other : keys.ActionsOf(code)) {
      if (other != action && std::find(others.begin(), others.end(), other) == others.end()) {
        others.push_back(other);
      }
    }
  }
  return others;
}

std::string OptionsSettingValue(OptionsRowKind kind, const PlayerChoices& choices) {
  switch (kind) {
    case OptionsRowKind::Volume:
      return "< " + std::to_string(choices.volume) + " >";
    case OptionsRowKind::Mute:
      return choices.mute ? "< yes >" : "< no >";
    case OptionsRowKind::Picture:
      return choices.screen.scale == ScaleMode::Integer ? "< integer: whole multiples only >"
                                                        : "< sharp: as large as fits >";
    case OptionsRowKind::Screen:
      return choices.screen.windowed ? "< window >" : "< full screen >";
    default:
      return "";
  }
}

std::string_view OptionsSettingLabel(OptionsRowKind kind) {
  switch (kind) {
    case OptionsRowKind::Volume:
      return "Volume";
    case OptionsRowKind::Mute:
      return "Mute";
    case OptionsRowKind::Picture:
      return "Picture";
    case OptionsRowKind::Screen:
      return "Screen";
    case OptionsRowKind::Defaults:
      return "Defaults";
    case OptionsRowKind::Back:
      return "Back";
    default:
      return "";
  }
}

void SetOptionsColor(Canvas& screen, int red, int green, int blue) {
  screen.FrontColor(red, green, blue);
}

// An action's row: what it does, its keys, its controller inputs, and the actions that share
// them, in red.
void DrawActionRow(Media& media, const OptionsView& view, int row, int y) {
  Canvas& screen = media.Screen;
  const GameAction action = ActionOfOptionsRow(row);
  const KeyBindings& keys = view.choices.keys;
  WriteOptionAt(screen, kLabelColumn, y, OptionsFitted(InfoOf(action).what, 26));
  if (view.waiting && view.selected == row) {
    SetOptionsColor(screen, 255, 255, 0);
    WriteOptionAt(screen, kKeyboardColumn, y, "press a key or a button (Escape: cancel)");
    return;
  }
  std::vector<GameAction> shared;
  for (const bool pad : {false, true}) {
    const std::vector<GameAction> others = OptionsSharingActions(keys, action, pad);
    if (others.empty()) {
      SetOptionsColor(screen, 0, 255, 255);
    } else {
      SetOptionsColor(screen, 255, 64, 64);
    }
    const std::string bound = OptionsBoundText(media, keys.KeysOf(action), pad);
    WriteOptionAt(screen, pad ? kPadColumn : kKeyboardColumn, y,
                  OptionsFitted(bound, pad ? kPadCharacters : kKeyboardCharacters));
    for (const GameAction other : others) {
      if (std::find(shared.begin(), shared.end(), other) == shared.end()) shared.push_back(other);
    }
  }
  if (shared.empty()) return;
  std::string note = "also";
  for (std::size_t i = 0; i < shared.size(); ++i) {
    note += i == 0 ? " " : ", ";
    note += InfoOf(shared[i]).name;
  }
  SetOptionsColor(screen, 255, 64, 64);
  WriteOptionAt(screen, kNoteColumn, y, OptionsFitted(note, kNoteCharacters));
}

void DrawOptionsHeading(Canvas& screen, int y, std::string_view text) {
  const auto characters = static_cast<int>(CharacterCount(text));
  WriteOptionAt(screen, kBoxLeft + (kBoxWidth - characters * kFontWidth) / 2, y, text);
}

}  // namespace

OptionsRowKind KindOfOptionsRow(int row) {
  switch (row) {
    case 0:
      return OptionsRowKind::Volume;
    case 1:
      return OptionsRowKind::Mute;
    case 2:
      return OptionsRowKind::Picture;
    case 3:
      return OptionsRowKind::Screen;
    default:
      break;
  }
  if (row == kOptionsRowCount - 2) return OptionsRowKind::Defaults;
  if (row == kOptionsRowCount - 1) return OptionsRowKind::Back;
  return OptionsRowKind::Action;
}

GameAction ActionOfOptionsRow(int row) {
  const int index =
      std::clamp(row - kOptionsSettingRows, 0, static_cast<int>(kGameActionCount) - 1);
  return kGameActions[static_cast<std::size_t>(index)].action;
}

std::optional<int> OptionsRowAt(int y) {
  for (int row = 0; row < kOptionsRowCount; ++row) {
    const int top = OptionsRowTop(row) - 2;
    if (y >= top && y < top + kOptionsRowHeight) return row;
  }
  return std::nullopt;
}

void DrawOptionsPage(Media& media, const OptionsView& view) {
  Canvas& screen = media.Screen;
  // A black page with a grey frame, like the controls page.
  SetOptionsColor(screen, 128, 128, 128);
  screen.Box(kBoxLeft, kBoxTop, kBoxWidth, kBoxHeight);
  SetOptionsColor(screen, 0, 0, 0);
  screen.Box(kBoxLeft + 2, kBoxTop + 2, kBoxWidth - 4, kBoxHeight - 4);
  screen.BackColor(0, 0, 0);
  SetOptionsColor(screen, 255, 255, 0);
  DrawOptionsHeading(screen, kBoxTop + 14, "OPTIONS");
  const int heading = OptionsRowTop(kOptionsSettingRows) - kKeysHeadingHeight + 4;
  WriteOptionAt(screen, kLabelColumn, heading, "KEYS");
  WriteOptionAt(screen, kKeyboardColumn, heading, "keyboard");
  WriteOptionAt(screen, kPadColumn, heading, "controller");

  for (int row = 0; row < kOptionsRowCount; ++row) {
    const int y = OptionsRowTop(row);
    const bool selected = row == view.selected;
    if (selected) {
      SetOptionsColor(screen, 0, 0, 128);
      screen.Box(kBoxLeft + 6, y - 2, kBoxWidth - 12, kOptionsRowHeight);
    }
    screen.BackColor(0, 0, selected ? 128 : 0);
    SetOptionsColor(screen, 255, 255, 255);
    const OptionsRowKind kind = KindOfOptionsRow(row);
    if (kind == OptionsRowKind::Action) {
      DrawActionRow(media, view, row, y);
      continue;
    }
    WriteOptionAt(screen, kLabelColumn, y, OptionsSettingLabel(kind));
    SetOptionsColor(screen, 0, 255, 255);
    if (kind == OptionsRowKind::Defaults) {
      WriteOptionAt(screen, kOptionsValueColumn, y,
                    "every key and button as the game first had them");
    } else if (kind == OptionsRowKind::Back) {
      WriteOptionAt(screen, kOptionsValueColumn, y,
                    view.from == OptionsFrom::Pause ? "to the game" : "to the launcher");
    } else {
      WriteOptionAt(screen, kOptionsValueColumn, y, OptionsSettingValue(kind, view.choices));
    }
  }
  screen.BackColor(0, 0, 0);
  SetOptionsColor(screen, 160, 160, 160);
  DrawOptionsHeading(screen, kBoxTop + kBoxHeight - 14 - kFontHeight,
                     "Up, Down: choose   Left, Right: change   Return: set   Escape: back");
}

}  // namespace starvane
