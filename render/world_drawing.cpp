#include "render/world_drawing.hpp"

namespace starvane {

void DrawThickLine(Game&, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void DrawBigStars(Game&) {}
void DrawSmallStars(Game&) {}
void DrawBodyDiscs(Game&) {}
void DrawBodyOutlines(Game&) {}
void DrawSparks(Game&) {}
void DrawShots(Game&) {}
void DrawEnemyLifeBars(Game&) {}

}  // namespace starvane
