#include "combat/visibility.hpp"

#include "world/kinds.hpp"
#include "world/list_walk.hpp"

namespace starvane {

void UpdateVisibility(Game& game) {
  CursorList<Body>& bodies = game.Bodies;
  // By index rather than by the cursor, so that removing a fragment, even the first body,
  // neither skips nor repeats the body that followed it.
  for (std::int32_t i = 0; i < bodies.CountList();) {
    Body& body = bodies.At(i);
    const float sx = body.Points[0].X + game.ViewX;
    const float sy = body.Points[0].Y + game.ViewY;
    const auto r = static_cast<float>(body.Radius);
    body.OnScreen = sx - r < 800 && sx + r > 0 && sy + r > 0 && sy - r < 600;
    // The screen widened by 400 pixels on three sides and 600 below it.
    body.NearScreen =
        sx - r - 200 < 1000 && sx + r + 200 > -200 && sy + r + 200 > -200 && sy - r - 200 < 1000;
    if (body.Kind == kKindFragment && body.NearScreen == 0) {
      bodies.SelectElement(i);
      bodies.DeleteElement();
    } else {
      ++i;
    }
  }
  // Like any walk over the list, it leaves the last body current.
  EndWalk(bodies);
}

}  // namespace starvane
