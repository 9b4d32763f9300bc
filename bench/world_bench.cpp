// World generation and the body list's cursor operations.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "app/startup.hpp"
#include "base/cursor_list.hpp"
#include "tests/support/temp_directory.hpp"
#include "world/records.hpp"
#include "world/world_generation.hpp"

namespace starvane {
namespace {

void BM_GenerateDefaultWorld(benchmark::State& state) {
  starvane::testing::TempDirectory files;  // a directory of its own for what the game writes
  Media media(files.Path());
  std::uint64_t seed = 1;
  for (auto _ : state) {
    Game game(media);
    Startup(game, seed++);
    game.Difficulty = 1;
    GenerateWorld(game);
    benchmark::DoNotOptimize(game.Bodies.CountList());
  }
}
BENCHMARK(BM_GenerateDefaultWorld)->Unit(benchmark::kMillisecond);

void FillBodies(CursorList<Body>& list, int count) {
  for (int i = 0; i < count; ++i) list.AddElement().Points[0].X = static_cast<float>(i);
}

void BM_SelectElementAtRandomIndex(benchmark::State& state) {
  CursorList<Body> list;
  FillBodies(list, 10000);
  std::mt19937 engine(3);
  std::vector<int> indices(4096);
  for (int& index : indices) index = static_cast<int>(engine() % 10000);
  std::size_t next = 0;
  for (auto _ : state) {
    Body* body = list.SelectElement(indices[next++ & 4095]);
    benchmark::DoNotOptimize(body->Points[0].X);
  }
}
BENCHMARK(BM_SelectElementAtRandomIndex);

// One insertion in the middle of a 10,000-body list, and the deletion that restores it.
void BM_InsertAndDeleteInTheMiddle(benchmark::State& state) {
  CursorList<Body> list;
  FillBodies(list, 10000);
  for (auto _ : state) {
    list.SelectElement(5000);
    benchmark::DoNotOptimize(list.AddElement());
    list.DeleteElement();
  }
}
BENCHMARK(BM_InsertAndDeleteInTheMiddle);

}  // namespace
}  // namespace starvane
