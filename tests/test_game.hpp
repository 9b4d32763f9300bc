#pragma once
// A fresh game for a test: started with a fixed seed, its files in a directory of its own (games
// write files, and tests run in parallel), removed at its end.

#include <cstdint>

#include "app/startup.hpp"
#include "media/media.hpp"
#include "temp_directory.hpp"
#include "world/game.hpp"

namespace starvane::testing {

struct TestGame {
  explicit TestGame(std::uint64_t seed = 1) { Startup(game, seed); }

  TempDirectory files;
  Media media{files.Path()};
  Game game{media};
};

}  // namespace starvane::testing
