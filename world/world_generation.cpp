#include "world/world_generation.hpp"

#include <string_view>

#include "base/rounding.hpp"
#include "world/adders.hpp"
#include "world/create_body.hpp"
#include "world/kinds.hpp"

// The random values of one call are drawn into locals from the last argument to the first:
// that order, with the seed, is what makes two worlds of one seed equal, and C++ leaves the
// order of evaluating arguments open.

namespace starvane {
namespace {

struct Position {
  int x;
  int y;
};

// A whole point anywhere in the world square, edges included (y drawn first).
Position RandomPosition(Game& game) {
  const int y = Random(game.Rng, 2 * game.WorldHeight) - game.WorldHeight;
  const int x = Random(game.Rng, 2 * game.WorldWidth) - game.WorldWidth;
  return {x, y};
}

void CreateStillBody(Game& game, Position at, std::string_view kind, int red, int green, int blue) {
  CreateBody(game, at.x, at.y, 0, 0, 0, kind, red, green, blue);
}

// Groups of three: the first anywhere, each further one up to 50 units right of and below the
// body made just before it (not the group's first).
void CreateGroupsOfThree(Game& game, int groups, std::string_view kind, int red, int green,
                         int blue) {
  for (int group = 1; group <= groups; ++group) {
    CreateStillBody(game, RandomPosition(game), kind, red, green, blue);
    for (int member = 2; member <= 3; ++member) {
      const Point before = game.Bodies.Current().Points[0];
      const int dy = Random(game.Rng, 50);
      const int dx = Random(game.Rng, 50);
      const Position at{RoundToInt(before.X + static_cast<float>(dx)),
                        RoundToInt(before.Y + static_cast<float>(dy))};
      CreateStillBody(game, at, kind, red, green, blue);
    }
  }
}

}  // namespace

void GenerateWorld(Game& game) {
  const int width = game.WorldWidth;
  const int height = game.WorldHeight;

  CreateBody(game, 0, 0, 0, 0, 1, game.PlayerKindName, 255, 0, 255);
  CreateBody(game, 0, 0, 0, 0, 10, "shield", 100, 100, 255);
  game.Bodies.Current().Kind = kKindNone;  // the shield starts switched off
  CreateBody(game, -3000, -3000, 0, 0, 0, "planet", 100, 255, 100);
  CreateBody(game, 0, 0, 0, 0, 0, "weapon", 100, 100, 100);
  {
    const int speed_y = Random(game.Rng, 10) - 5;
    const int speed_x = Random(game.Rng, 10) - 5;
    const Position at = RandomPosition(game);
    CreateBody(game, at.x, at.y, speed_x, speed_y, 0, "glimmerhex", 100, 255, 0);
  }

  for (int i = 1; i <= width / 300; ++i) {
    CreateStillBody(game, RandomPosition(game), "enemie3", 155, 155, 155);
  }
  for (int i = 1; i <= width / 250; ++i) {
    CreateStillBody(game, RandomPosition(game), "enemie", 255, 255, 0);
  }
  CreateGroupsOfThree(game, width / 500, "enemie", 255, 255, 0);
  CreateGroupsOfThree(game, width / 1200, "enemie2", 100, 100, 255);
  for (int i = 1; i <= width / 600; ++i) {
    CreateStillBody(game, RandomPosition(game), "enemie2", 100, 100, 255);
  }

  // Large rocks scattered over the world, drifting on both axes.
  for (int i = 1; i <= width / 200; ++i) {
    const int blue = Random(game.Rng, 255);
    const int green = Random(game.Rng, 255);
    const int red = Random(game.Rng, 255);
    const int spin = Random(game.Rng, 4) - 2;
    const int speed_y = Random(game.Rng, 2) - 1;
    const int speed_x = Random(game.Rng, 2) - 1;
    const Position at = RandomPosition(game);
    CreateBody(game, at.x, at.y, speed_x, speed_y, spin, "randombig", red, green, blue);
  }
  // The rock belt: large rocks across the whole width between y 2200 and 4200, below the
  // ship's start and the home planet, drifting only along x.
  for (int i = 1; i <= width / 15; ++i) {
    const int blue = Random(game.Rng, 255);
    const int green = Random(game.Rng, 255);
    const int red = Random(game.Rng, 255);
    const int spin = Random(game.Rng, 4) - 2;
    const int speed_x = Random(game.Rng, 2) - 1;
    const int y = 2200 + Random(game.Rng, 2000);
    const int x = Random(game.Rng, 2 * width) - width;
    CreateBody(game, x, y, speed_x, 0, spin, "randombig", red, green, blue);
  }

  for (int i = 1; i <= width / 2; ++i) {
    const int y = Random(game.Rng, 2 * height) - height;
    const int x = Random(game.Rng, 2 * width) - width;
    AddBigStar(game, x, y);
  }
  // Small stars are a parallax layer drawn at two thirds of the world's scale, so they spread
  // over -10000..20000 on each axis.
  for (int i = 1; i <= width / 2; ++i) {
    const int y = Random(game.Rng, 3 * height) - height;
    const int x = Random(game.Rng, 3 * width) - width;
    AddSmallStar(game, x, y);
  }
}

}  // namespace starvane
