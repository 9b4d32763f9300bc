#pragma once
// The boxes of the STATS panel, the mouse arrow that points at them and the clicks that buy.
// A box is known by its number: its 0-based position in the Buttons list, in the order the
// boxes were registered when the panel opened.

#include <array>

#include "world/game.hpp"
#include "world/weapons.hpp"

namespace starvane {

constexpr int kNoButton = -1;  // a line shown without a box

// The boxes of one equipment block, one for each detail line shown when the panel opened.
struct BlockButtons {
  int max = kNoButton;  // "Max : ", or the boost's "Multiplikator : "
  int refreshrate = kNoButton;
  int damage = kNoButton;
  int range = kNoButton;
};

// Every box of the panel, bound to the line it stands beside.
struct PanelButtons {
  BlockButtons life;
  BlockButtons energie;
  BlockButtons boost;
  BlockButtons shock;
  std::array<BlockButtons, kWeapons.size()> weapons;  // in the order of kWeapons
  int red = kNoButton;
  int green = kNoButton;
  int blue = kNoButton;
};

// Every box: white with a plus sign, or filled grey with a black plus when it is not enabled.
void DrawButtons(Game& game);

// The arrow at the mouse position, on a black ground that clears what lies under it.
void DrawMouseArrow(Game& game);

// 1 when the mouse lies inside the box, else 0. The hit area leaves out the box's top and left
// edge lines and takes in its bottom and right ones. A number that is no box is never hovered.
int ButtonHovered(Game& game, int button);

// 1 when the left button went down at the last examination of the mouse, inside the box.
int ButtonClicked(Game& game, int button);

// Follows the left button after an examination of the mouse: 0 up, 1 for the one panel frame
// after it went down, 2 while it stays held. Holding the button therefore clicks once.
void UpdateMouseClickState(Game& game);

}  // namespace starvane
