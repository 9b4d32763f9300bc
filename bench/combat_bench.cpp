// Frames of a fight, and the shot pass on its own. The shot pass tests every shot against every
// body near the screen, so its cost grows with both; it is measured for several of each.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "bench/flying_game.hpp"
#include "combat/collide.hpp"
#include "tests/support/arena.hpp"
#include "world/adders.hpp"
#include "world/create_body.hpp"

namespace starvane {
namespace {

// The default world with a fight around the ship: 40 enemy craft of the three firing kinds in a
// ring 150 to 350 units out, and the ship circling and firing weapon 1. The ship cannot die, so
// the fight stays where it is.
testing::Harness Fight() {
  testing::Harness fight = bench::FlyingGame();
  Game& game = fight.game;
  game.Life.Max = 1e9f;
  game.Life.Value = 1e9f;
  constexpr const char* kKinds[] = {"enemie", "enemie2", "enemie3"};
  for (int i = 0; i < 40; ++i) {
    const double angle = i * 0.157;
    const double distance = 150 + 5 * i;
    game.Bodies.SelectElement(game.Bodies.CountList() - 1);
    CreateBody(game, static_cast<std::int32_t>(distance * std::cos(angle)),
               static_cast<std::int32_t>(distance * std::sin(angle)), 0, 0, 0, kKinds[i % 3], 200,
               50, 50);
  }
  return fight;
}

// Enemies die and the ship drifts off; every 500 frames the fight starts again (not timed).
void BM_FightFrameDefaultWorld(benchmark::State& state) {
  auto fight = std::make_unique<testing::Harness>(Fight());
  std::int64_t frame = 0;
  std::int64_t sparks = 0;
  std::int64_t shots = 0;
  for (auto _ : state) {
    if (++frame % 500 == 0) {
      state.PauseTiming();
      fight = std::make_unique<testing::Harness>(Fight());
      state.ResumeTiming();
    }
    fight->RunFrames(1);
    sparks += fight->game.Sparks.CountList();
    shots += fight->game.Shots.CountList();
  }
  state.counters["sparks"] =
      benchmark::Counter(static_cast<double>(sparks), benchmark::Counter::kAvgIterations);
  state.counters["shots"] =
      benchmark::Counter(static_cast<double>(shots), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FightFrameDefaultWorld)->Unit(benchmark::kMicrosecond);

// The collision step alone with the given numbers of still rocks near the ship and of still
// shots that hit nothing: every shot is tested against every near body, and nothing changes
// from one run to the next.
void BM_ShotPass(benchmark::State& state) {
  starvane::testing::Arena arena;
  const auto bodies = static_cast<int>(state.range(0));
  const auto shots = static_cast<int>(state.range(1));
  for (int i = 0; i < bodies; ++i) {
    arena.Add(-330 + 70 * (i % 10), -260 + 70 * (i / 10), "randomlittle");  // none on the ship
  }
  for (int i = 0; i < shots; ++i) {
    const double angle = i * 6.2831853 / shots;
    AddShot(arena.game, static_cast<std::int32_t>(1100 * std::cos(angle)),
            static_cast<std::int32_t>(1100 * std::sin(angle)), 0, 0, 5, ShotStyle::Dot, 255, 0, 0);
  }
  arena.Upkeep();
  for (auto _ : state) {
    Collide(arena.game);
    benchmark::DoNotOptimize(arena.game.Shots.CountList());
  }
  state.counters["pairs"] = bodies * shots;
}
BENCHMARK(BM_ShotPass)
    ->Args({10, 50})
    ->Args({50, 50})
    ->Args({50, 200})
    ->Args({50, 800})
    ->Args({100, 200})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace starvane
