#pragma once
// A generated world for benchmarks, flown by held keys: the ship circles (thrust and brake
// together hold its speed) and fires weapon 1 all the time.

#include <cstdint>
#include <memory>

#include "app/frame_loop.hpp"
#include "media/keys.hpp"
#include "media/media.hpp"
#include "tests/held_keys.hpp"
#include "tests/temp_directory.hpp"
#include "world/game.hpp"
#include "world/world_generation.hpp"

namespace starvane::bench {

struct FlyingGame {
  explicit FlyingGame(std::int32_t half_extent = 10000) {
    auto input = std::make_unique<testing::HeldKeys>();
    for (int key : {kKeyUp, kKeyDown, kKeyLeft, kKeySpace})
      input->held[static_cast<std::size_t>(key)] = 1;
    media = std::make_unique<Media>(files.Path(), nullptr, std::move(input));
    game = std::make_unique<Game>(*media);
    game->Rng.Seed(1);
    game->Difficulty = 1;
    game->WorldWidth = half_extent;
    game->WorldHeight = half_extent;
    GenerateWorld(*game);
    game->ActiveWeapon = game->Weapon1;
    game->ActiveWeapon.Refreshrate = 1;
    SetupMedia(*game);
  }
  void Frame() {
    media->SetFrameLimit(media->FramesPresented() + 1);
    RunFrameLoop(*game);
  }

  testing::TempDirectory files;  // a directory of its own for what the game writes
  std::unique_ptr<Media> media;
  std::unique_ptr<Game> game;
};

}  // namespace starvane::bench
