#include "app/startup.hpp"

namespace starvane {

void Startup(Game& game, std::uint64_t seed) {
  game.Rng.Seed(seed);
  game.BigStars.ClearList();
  game.SmallStars.ClearList();
  game.Bodies.ClearList();
  game.Buttons.ClearList();
  game.Sparks.ClearList();
  game.Shots.ClearList();
}

}  // namespace starvane
