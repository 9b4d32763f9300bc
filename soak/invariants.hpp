#pragma once
// What must hold after every frame of any game, whatever the player does.

#include <string>

#include "world/game.hpp"

namespace starvane::soak {

// The first rule the game breaks, described for a person; empty while all hold:
//  - the first four bodies keep their places and kinds: 0 the ship, 1 the shield (its kind or,
//    switched off, none), 2 the home planet, 3 the turret;
//  - every body keeps the outline convention: point 100 is a copy of point 0, and from the
//    first point after point 1 that equals point 0 on, every point is such a copy;
//  - money stays within 0..2147483647;
//  - nothing that is drawn from a float is NaN or infinite: the view, every point of every body,
//    shots (position and speed: a streak is drawn back along it), sparks, stars, and the
//    equipment figures that the bars and the STATS page show.
std::string BrokenInvariant(const Game& game);

}  // namespace starvane::soak
