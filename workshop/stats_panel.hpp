#pragma once
// The STATS panel: the ship's workshop. A full-screen page listing the equipment with its
// figures where, while the home planet is on the screen, money buys upgrades and the ship's
// colour by clicks on small boxes marked with a plus sign. It is modal: the world stands still
// while its own frames run.

#include <optional>

#include "media/loop_end.hpp"
#include "world/game.hpp"

namespace starvane {

// The whole panel, from opening to closing; the frame loop calls it when StatsOpen is 1. Each
// panel frame is drawn, priced, presented, and followed by the mouse and the keyboard; the panel
// closes when Escape or C is released. It returns with drawing on the back buffer open again
// and Buttons empty. When the game must end while it runs (a frame limit, the end of an input
// script, a closed window, a signal), it stops before its next frame and returns that end.
std::optional<LoopEnd> RunStatsPanel(Game& game);

}  // namespace starvane
