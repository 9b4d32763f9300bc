#pragma once
// The world layer of a frame: the two star layers, the bodies (a disc in the background colour
// under a coloured outline), the sparks, the shots and the life bars over enemy craft. Every
// visible object is drawn again from the world lists, in world coordinates shifted by the view.
// Stars, sparks and shots are culled with fixed windows centred on the ship, bodies by the
// OnScreen flag of the visibility pass.
//
// Drawing is part of the game, not only a picture of it: DrawBigStars and DrawSmallStars draw a
// random grey for every visible star, and DrawShots draws a random radius and drift for every
// sparking ball of weapon 3 and adds its spark to the world. So the random numbers a frame uses,
// and with them every later frame, depend on what is drawn: a drawing step cannot be skipped,
// moved or drawn twice without changing the game (the golden replays tell).

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

// Three strokes in the front colour: (x1, y1) to (x2, y2), (x1 + 1, y1) to (x2, y2 + 1) and
// (x1, y1 + 1) to (x2 + 1, y2).
void DrawThickLine(Game& game, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

void DrawBigStars(Game& game);
void DrawSmallStars(Game& game);
void DrawBodyDiscs(Game& game);
void DrawBodyOutlines(Game& game);
void DrawSparks(Game& game);
void DrawShots(Game& game);
void DrawEnemyLifeBars(Game& game);

}  // namespace starvane
