#pragma once
// A fresh game for a test: started with a fixed seed, its files in the temporary directory.

#include <cstdint>
#include <filesystem>

#include "app/startup.hpp"
#include "media/media.hpp"
#include "world/game.hpp"

namespace starvane::testing {

struct TestGame {
  explicit TestGame(std::uint64_t seed = 1) { Startup(game, seed); }

  Media media{std::filesystem::temp_directory_path()};
  Game game{media};
};

}  // namespace starvane::testing
