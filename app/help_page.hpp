#pragma once

#include "media/media.hpp"

namespace starvane {

// The controls, drawn over the paused game's frame: the keys in force (the player's bindings; a
// script's game shows the game's own), named as the player's keyboard labels them (the game
// reads keys by their place, so on a French keyboard the turret turns with Q and D), and the
// game controller's buttons. The last line tells the way
// back: to the game, or to the launcher when the page was opened there.
enum class HelpFrom { Game, Launcher };
void DrawHelpPage(Media& media, HelpFrom from = HelpFrom::Game);

}  // namespace starvane
