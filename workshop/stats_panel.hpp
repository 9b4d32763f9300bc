#pragma once
// The STATS panel: the ship's workshop. A full-screen page listing the equipment with its
// figures where, while the home planet is on the screen, money buys upgrades and the ship's
// colour by clicks on small boxes marked with a plus sign. It is modal: the world stands still
// while its own frames run.

#include <cstdint>
#include <optional>
#include <string_view>

#include "media/loop_end.hpp"
#include "workshop/panel_buttons.hpp"
#include "world/game.hpp"

namespace starvane {

// The whole panel, from opening to closing; the frame loop calls it when StatsOpen is 1. Each
// panel frame is drawn, priced, presented, and followed by the mouse and the keyboard; the panel
// closes when Escape or C is released. It returns with drawing on the back buffer open again
// and Buttons empty. When the game must end while it runs (a frame limit, the end of an input
// script, a closed window, a signal), it stops before its next frame and returns that end.
std::optional<LoopEnd> RunStatsPanel(Game& game);

// One equipment block at (x, y): the heading in the block's colour, then in white the detail
// lines that its figures call for, 15 pixels apart, each with its box 3 pixels in when the panel
// is opening at the home planet. value and max are the equipment's rounded; a line shows when
// its figure is not 0 ("Max : " when value and max both are not). The boost shows its unrounded
// multiplier instead of a maximum and no value/max in its heading. Returns the boxes registered.
BlockButtons DrawEquipmentInfo(Game& game, std::string_view label, std::int32_t value,
                               std::int32_t max, float refreshrate, float damage,
                               std::int32_t range, int x, int y, int red, int green, int blue);

}  // namespace starvane
