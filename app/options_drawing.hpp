#pragma once
// The options page's rows and its picture on the 800 x 600 canvas (app/options_page.hpp).

#include <cstddef>
#include <optional>

#include "app/options_page.hpp"
#include "media/key_bindings.hpp"
#include "media/media.hpp"

namespace starvane {

// The rows, top to bottom: the four settings, one row per action, Defaults and Back.
enum class OptionsRowKind { Volume, Mute, Picture, Screen, Action, Defaults, Back };
constexpr int kOptionsSettingRows = 4;
constexpr int kOptionsRowCount = kOptionsSettingRows + static_cast<int>(kGameActionCount) + 2;
OptionsRowKind KindOfOptionsRow(int row);
// The action of an action's row.
GameAction ActionOfOptionsRow(int row);

// The row whose band holds the canvas line y, if any.
std::optional<int> OptionsRowAt(int y);
// Where the values begin: a click on a setting's row left of its value's middle lowers it.
constexpr int kOptionsValueColumn = 256;
constexpr int kOptionsValueMiddle = kOptionsValueColumn + 40;

struct OptionsView {
  const PlayerChoices& choices;
  int selected = 0;
  bool waiting = false;  // for the key or controller input to bind to the selected action
  OptionsFrom from = OptionsFrom::Pause;
};
void DrawOptionsPage(Media& media, const OptionsView& view);

}  // namespace starvane
