// A whole frame of flight against a frame that only clears the screen, measured in one run:
// the default world and one ten times as wide and high, with the ship flying a circle (thrust
// and brake together hold its speed) and firing weapon 1 all the time.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/frame_loop.hpp"
#include "app/world_generation.hpp"
#include "media/keys.hpp"
#include "media/media.hpp"
#include "tests/held_keys.hpp"
#include "tests/temp_directory.hpp"
#include "world/game.hpp"

namespace starvane {
namespace {

using starvane::testing::HeldKeys;

struct FlyingGame {
  explicit FlyingGame(std::int32_t half_extent) {
    auto input = std::make_unique<HeldKeys>();
    for (int key : {kKeyUp, kKeyDown, kKeyLeft, kKeySpace}) input->held[key] = 1;
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

  starvane::testing::TempDirectory files;  // a directory of its own for what the game writes
  std::unique_ptr<Media> media;
  std::unique_ptr<Game> game;
};

void FlyFrames(benchmark::State& state, std::int32_t half_extent) {
  FlyingGame flight(half_extent);
  for (auto _ : state) flight.Frame();
  state.counters["bodies"] = flight.game->Bodies.CountList();
}

void BM_FullFrameDefaultWorld(benchmark::State& state) {
  FlyFrames(state, 10000);
}
BENCHMARK(BM_FullFrameDefaultWorld)->Unit(benchmark::kMicrosecond);

void BM_FullFrameTenTimesWorld(benchmark::State& state) {
  FlyFrames(state, 100000);
}
BENCHMARK(BM_FullFrameTenTimesWorld)->Unit(benchmark::kMicrosecond);

// What every frame costs at least: clearing the back buffer.
void BM_ClearOnlyFrame(benchmark::State& state) {
  Canvas canvas;
  for (auto _ : state) {
    canvas.ClearScreen(0, 0, 0);
    benchmark::DoNotOptimize(canvas.Pixels().data());
  }
}
BENCHMARK(BM_ClearOnlyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace starvane
