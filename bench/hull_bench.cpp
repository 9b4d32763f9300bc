// The hull test at its worst: a ship that lands next to the planet's very centre. Each push is
// a ten-thousandth of the ship's distance from the centre, here 2 units, which moves an x near
// -3000 by one unit in the last place of a float (2^-12); the ship needs some 1.7 million pushes
// to clear the planet's 400 units. Closer to the centre the pushes change nothing and the test
// ends at once; further out they are larger and fewer.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "combat/planet_contact.hpp"
#include "tests/support/arena.hpp"

namespace starvane {
namespace {

void BM_HullPushFromNearTheCentre(benchmark::State& state) {
  std::int64_t pushed_to = 0;
  for (auto _ : state) {
    state.PauseTiming();
    testing::Arena a;
    a.PlaceShip(-2998, -3000, 0, 0);
    a.TurnBody(kShipIndex, 7);
    a.Upkeep();
    state.ResumeTiming();
    PushShipOutOfHull(a.game, a.At(kHomePlanetIndex));
    benchmark::DoNotOptimize(a.Ship().Points[0].X);
    pushed_to = static_cast<std::int64_t>(a.Ship().Points[0].X);
  }
  state.counters["end_x"] = static_cast<double>(pushed_to);
}
BENCHMARK(BM_HullPushFromNearTheCentre)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace starvane
