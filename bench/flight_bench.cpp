// A whole frame of flight against a frame that only clears the screen, measured in one run:
// the default world and one ten times as wide and high, with the ship flying a circle (thrust
// and brake together hold its speed) and firing weapon 1 all the time.

#include <benchmark/benchmark.h>

#include "bench/flying_game.hpp"
#include "media/canvas.hpp"

namespace starvane {
namespace {

using starvane::bench::FlyingGame;

void FlyFrames(benchmark::State& state, std::int32_t half_extent) {
  testing::Harness flight = FlyingGame(half_extent);
  for (auto _ : state) flight.RunFrames(1);
  state.counters["bodies"] = flight.game.Bodies.CountList();
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
