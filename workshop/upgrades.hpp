#pragma once
// What the STATS panel sells: one step of an equipment figure or of a colour for each click on
// the box of its line, paid from Money.

#include "workshop/panel_buttons.hpp"
#include "world/game.hpp"

namespace starvane {

// Every line that sells, in a fixed order: its price shown while hovered, and one step bought
// when its box is clicked and the money pays for it. Each price grows with the level bought.
//
//   Life, Energie "Max : "     its own Max (whole in play)   Max + 5
//   Life "Refreshrate : "      Refreshrate x 20000           Refreshrate + 0.001
//   Energie "Refreshrate : "   Refreshrate x 2000            Refreshrate + 0.002
//   Boost "Multiplikator : "   Max x 200                     Max + 0.01, Refreshrate - 0.0015
//   Shock "Damage : "          Damage x 2000                 Damage + 0.01, Refreshrate - 0.002
//   Shock "Range : "           Range x 2                     Range + 1, Refreshrate - 0.002
//   a weapon's "Damage : "     Damage x its price factor     Damage + its damage step
//     (world/weapons.hpp: weapons 1, 2, 3 x 100, x 10, x 10 and + 0.1, + 1, + 0.5)
//   "Red : ", "Green : ", "Blue : "   2                      shade + 5, past 255 back to 0
//
// The refresh rates of the boost and the shock follow from their other upgrades and are not
// sold; nor is any other line (a weapon's Max, shown only for figures from an edited file).
void SellUpgrades(Game& game, const PanelButtons& buttons);

}  // namespace starvane
