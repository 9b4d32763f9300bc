// The hull test at its worst: a ship that lands next to the planet's very centre. Each push is
// a ten-thousandth of the ship's distance from the centre, here 2 units, which moves an x near
// -3000 by one unit in the last place of a float (2^-12); the ship needs some 1.7 million pushes
// to clear the planet's 400 units. Closer to the centre the pushes change nothing and the test
// ends at once; further out they are larger and fewer.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <initializer_list>

#include "combat/planet_contact.hpp"
#include "tests/support/arena.hpp"

namespace starvane {
namespace {

// Lands the ship at (x, y), turned by each of `turns` in order, and times the push out.
void HullPush(benchmark::State& state, float x, float y, std::initializer_list<int> turns) {
  std::int64_t pushed_to = 0;
  for (auto _ : state) {
    state.PauseTiming();
    testing::Arena a;
    a.PlaceShip(x, y, 0, 0);
    for (const int turn : turns) a.TurnBody(kShipIndex, turn);
    a.Upkeep();
    state.ResumeTiming();
    PushShipOutOfHull(a.game, a.At(kHomePlanetIndex));
    benchmark::DoNotOptimize(a.Ship().Points[0].X);
    pushed_to = static_cast<std::int64_t>(a.Ship().Points[0].X);
  }
  state.counters["end_x"] = static_cast<double>(pushed_to);
}

void BM_HullPushFromNearTheCentre(benchmark::State& state) {
  HullPush(state, -2998, -3000, {7});
}
BENCHMARK(BM_HullPushFromNearTheCentre)->Unit(benchmark::kMillisecond);

// 1.3 units from the centre, turned twice: 313,000 passes of five or six pushes each, where
// points keep coming near an edge or near the ship's own centre line on the way out.
void BM_HullPushTurnedTwice(benchmark::State& state) {
  HullPush(state, -0x1.770384p+11F, -0x1.772926p+11F, {313, 101});
}
BENCHMARK(BM_HullPushTurnedTwice)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace starvane
