#include "combat/hull_passes.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "base/bit_cast.hpp"
#include "base/rounding.hpp"
#include "world/contact_geometry.hpp"
#include "world/kinds.hpp"

// Every push adds the same step to every point of the ship, so a point's coordinate after n
// pushes depends only on where it started: points that start on the same float end on the same
// float. The walk below therefore keeps each distinct x and each distinct y of the ship once
// (seven of each for the ship's shape, whose trailing points are all copies of its centre),
// adds the step to those with exactly the float addition a push makes, and only at the end
// hands every point its value. Adding the step n times is in general not the same float as
// adding n times the step; but while a value stays within one binade every push adds it the
// very same amount, and there (SteadyRun) a run of pushes is taken at once, exactly.
//
// The test of a point against the planet's outline reads only that point and the lines of the
// planet's edges. Those lines are the same at every test after the first, so they are worked
// out once. A test that finds a point well inside every edge, or well outside one, also works
// out how far the point may travel before the answer could change; until it has travelled that
// far the answer stands without the edges being walked again. Near an edge, or where a point
// nears the centre's x or y, that distance is short; there the answer is followed along the
// steady run instead (ExactAhead, ApartAhead), which tells exactly how long it stands.

namespace starvane {
namespace {

struct EdgeLine {
  float slope = 0;
  float intercept = 0;
  bool centre_below = false;  // the planet's centre lies below the line (a smaller y)
  bool centre_above = false;
};

// Which side of an edge's line a point is on, with the rounded product that placed the line.
struct EdgeSideOf {
  bool inside = false;  // on the planet centre's side
  std::int32_t rounded = 0;
};

// The hull test for one edge: the product rounded to a whole number before the intercept is
// added; a point on the line is outside, and so is every point when the centre is on it.
EdgeSideOf EdgeSide(const EdgeLine& edge, float x, float y) {
  const std::int32_t rounded = RoundToInt(edge.slope * x);
  const float point_line = static_cast<float>(rounded) + edge.intercept;
  return {(y < point_line && edge.centre_below) || (y > point_line && edge.centre_above), rounded};
}

// How far in x or in y a point may travel on one known answer: small enough that the
// coordinates, and the rounding errors that grow with them, stay near what the answer was
// worked out at.
constexpr double kMostTravel = 64;

// Fewer pushes than this on a point's distance alone, and its answer is followed exactly.
constexpr double kFewPushes = 256;

// The distinct values are stepped in blocks of eight lanes; room for every point distinct.
constexpr std::size_t kBlock = 8;
constexpr std::size_t kLanes = 104;

// The longest run of pushes taken in one step: well within what a double counts exactly.
constexpr std::int64_t kLongestRun = std::int64_t{1} << 30;

// The longest wait, in pushes, before a point's answer is followed exactly again.
constexpr std::int64_t kLongestWait = 4096;

// Pushes made one by one before a run is looked for again.
constexpr std::int64_t kSinglePushes = 256;

// Two floats of the same bits: NaN equals itself here, and 0 differs from -0.
bool SameBits(float a, float b) {
  return BitCast<std::uint32_t>(a) == BitCast<std::uint32_t>(b);
}

class HullWalk {
 public:
  HullWalk(Game& game, const Body& planet, const Body& ship) {
    ReadPlanet(game, planet);
    for (std::size_t i = 0; i < kBodyPoints; ++i) {
      x_of_[i] = Distinct(xs_, x_count_, ship.Points[i].X);
      y_of_[i] = Distinct(ys_, y_count_, ship.Points[i].Y);
    }
    lanes_ = (std::max(x_count_, y_count_) + kBlock - 1) / kBlock * kBlock;
    outline_ = CountOutline();
  }

  // One pass; returns whether it pushed, and sets end_point and changed. A push that changes
  // nothing is repeated by every push after it, so the pass changes something exactly when its
  // first push does.
  bool Pass(float step_x, float step_y, std::int32_t& end_point, bool& changed) {
    bool pushed = false;
    changed = false;
    std::int32_t j = 1;
    for (; j <= outline_; ++j) {
      if (!Inside(static_cast<std::size_t>(j))) continue;
      if (!pushed) {
        const auto xs_before = xs_;
        const auto ys_before = ys_;
        Push(step_x, step_y);
        changed = !SameLanes(xs_before, ys_before);
        pushed = true;
      } else {
        Push(step_x, step_y);
      }
      outline_ = CountOutline();  // the outline is counted again before the next point
    }
    end_point = j;
    return pushed;
  }

  // How many pushes can be made in a row, as whole passes, with no test walked: every point
  // of the outline has a known answer that stands however far those pushes take it, and no
  // outline point can come to share the centre's x or y (nor the point that ends the outline
  // stop sharing it), so every pass repeats the one before. A push moves a coordinate by its
  // step and a rounding of at most half a unit in the last place, which `wobble` bounds.
  std::int64_t PushesKnownAhead(float step_x, float step_y) {
    if (outline_ < 1) return 0;
    double largest = 0;
    for (std::size_t k = 0; k < x_count_; ++k) largest = std::max(largest, Size(xs_[k]));
    for (std::size_t k = 0; k < y_count_; ++k) largest = std::max(largest, Size(ys_[k]));
    const double wobble = (largest + 4 * kMostTravel) * 0x1p-22;
    const double move = std::max(Size(step_x), Size(step_y)) + wobble;
    if (!std::isfinite(move) || !(move > 0)) return 0;
    // The point that ends the outline must keep sharing the centre's x or y for good: it does
    // when it holds the very same value, which every push moves alike.
    const auto last = static_cast<std::size_t>(outline_);
    if (last + 1 < kBodyPoints - 1 && x_of_[last + 1] != x_of_[0] && y_of_[last + 1] != y_of_[0]) {
      ShareEqualLanes();
      if (x_of_[last + 1] != x_of_[0] && y_of_[last + 1] != y_of_[0]) return 0;
    }
    double gap = std::numeric_limits<double>::infinity();
    for (std::size_t j = 1; j <= last; ++j) {
      gap = std::min({gap, std::abs(static_cast<double>(X(j)) - X(0)),
                      std::abs(static_cast<double>(Y(j)) - Y(0))});
    }
    double pushes = std::min(gap / (2 * wobble) - 1, 1e9);
    if (!(pushes >= kFewPushes) && pushes_made_ >= apart_again_at_) {
      const std::int64_t apart = ApartAhead(step_x, step_y);
      pushes = std::max(pushes, static_cast<double>(apart));
      // As for ExactAhead below: a search that finds little waits before it is made again.
      if (apart >= static_cast<std::int64_t>(kFewPushes)) {
        apart_wait_ = 0;
      } else {
        apart_wait_ = std::min(2 * apart_wait_ + 1, kLongestWait);
        apart_again_at_ = pushes_made_ + apart_wait_;
      }
    }
    std::int64_t inside = 0;
    for (std::size_t j = 1; j <= last && pushes >= 1; ++j) {
      const KnownAnswer& answer = answers_[j];
      bool point_inside = answer.inside;
      double point_pushes = 0;
      if (answer.known) {
        const double used = std::max(std::abs(static_cast<double>(X(j)) - answer.at_x),
                                     std::abs(static_cast<double>(Y(j)) - answer.at_y));
        point_pushes = (std::min(answer.reach, kMostTravel) - used) / move - 1;
      }
      // Near an edge the distance allows few pushes or none; the answer is then followed
      // push by push along the edge's line instead (ExactAhead), which may allow many more,
      // up to the fewest allowed so far.
      if (!(point_pushes >= std::min(kFewPushes, pushes)) && pushes_made_ >= exact_again_at_) {
        bool exact_inside = false;
        const std::int64_t most = RoundToInt(std::floor(pushes));
        const std::int64_t exact = ExactAhead(j, step_x, step_y, most, exact_inside);
        if (exact >= 0 && (!answer.known || static_cast<double>(exact) > point_pushes)) {
          point_pushes = static_cast<double>(exact);
          point_inside = exact_inside;
        }
        // Following the answer costs a walk of every edge: when it finds few pushes it waits
        // for twice as many pushes as last time before it is tried again.
        if (exact >= std::min(most, static_cast<std::int64_t>(kFewPushes))) {
          exact_wait_ = 0;
        } else {
          exact_wait_ = std::min(2 * exact_wait_ + 1, kLongestWait);
          exact_again_at_ = pushes_made_ + exact_wait_;
        }
      }
      if (!answer.known && !(point_pushes > 0)) return 0;
      if (point_inside) ++inside;
      pushes = std::min(pushes, point_pushes);
    }
    if (inside == 0 || !(pushes >= static_cast<double>(inside))) return 0;
    const std::int64_t passes = RoundToInt(std::floor(pushes)) / inside;
    return passes * inside;
  }

  // The number of pushes K from now such that no outline point comes to share the centre's x
  // or y after any of 0, 1, ..., K pushes, found exactly where the distance bound is too
  // short. Within a steady run two values after k pushes are a + k da and b + k db, exactly;
  // their difference moves one way only, so they cannot meet in between two pushes after
  // which a is on the same side of b.
  std::int64_t ApartAhead(float step_x, float step_y) const {
    const std::int64_t run =
        std::min({kLongestRun, SteadyRun(xs_, x_count_, step_x), SteadyRun(ys_, y_count_, step_y)});
    if (run < 1) return 0;
    const auto last = static_cast<std::size_t>(outline_);
    const auto apart = [&](std::int64_t k) {
      const auto along = static_cast<double>(k);
      const auto after = [&](float value, float step) {
        return static_cast<double>(value) + along * Increment(value, step);
      };
      const double centre_x = after(X(0), step_x);
      const double centre_y = after(Y(0), step_y);
      for (std::size_t j = 1; j <= last; ++j) {
        const double x = after(X(j), step_x);
        const double y = after(Y(j), step_y);
        if (x == centre_x || (x < centre_x) != (X(j) < X(0))) return false;
        if (y == centre_y || (y < centre_y) != (Y(j) < Y(0))) return false;
      }
      return true;
    };
    return LastSame(0, run, apart);
  }

  // The largest k in [good, bad] for which same(k) holds, when it holds at good and, having
  // held at some k, holds at every smaller one: by strides that double from good, then halving.
  template <typename Same>
  static std::int64_t LastSame(std::int64_t good, std::int64_t bad, const Same& same) {
    if (same(bad)) return bad;
    for (std::int64_t stride = 1; good + stride < bad; stride *= 2) {
      if (!same(good + stride)) {
        bad = good + stride;
        break;
      }
      good += stride;
    }
    while (bad - good > 1) {
      const std::int64_t middle = good + (bad - good) / 2;
      (same(middle) ? good : bad) = middle;
    }
    return good;
  }

  // The number of pushes K from now such that the test of outline point j gives the same answer
  // (returned in `inside`) after every one of 0, 1, ..., K pushes; -1 when it cannot be told.
  // Within a steady run (SteadyRun) the point's x and y after k pushes are x + k dx and
  // y + k dy, exactly, so the test can be made at any k without pushing. Both move one way
  // only, and so does each edge's line at x: the product slope * x, its rounding to a whole
  // number and the sum with the intercept all keep order. While that rounded product is the
  // same number the line is the very same float, and y, moving one way, is on the same side
  // of it at every k between two pushes where it is on that side. So if an edge gives the same
  // side and the same rounded product after k pushes as now, it gives them after every push
  // in between, and the largest such k is found by LastSame.
  std::int64_t ExactAhead(std::size_t j, float step_x, float step_y, std::int64_t most,
                          bool& inside) const {
    const float x = X(j);
    const float y = Y(j);
    const std::int64_t run = std::min({most, SteadyRun(x, step_x), SteadyRun(y, step_y)});
    if (run < 1 || edge_count_ == 0) return -1;
    const double dx = Increment(x, step_x);
    const double dy = Increment(y, step_y);
    const auto at = [&](std::int64_t k) {
      const auto along = static_cast<double>(k);
      return Point{static_cast<float>(x + along * dx), static_cast<float>(y + along * dy)};
    };
    // A point is inside when every edge has it on the centre's side: an inside answer lasts
    // as long as the shortest-lived edge, an outside one as long as the longest-lived edge
    // that has it outside.
    inside = true;
    for (std::size_t e = 0; e < edge_count_; ++e)
      inside = inside && EdgeSide(edges_[e], x, y).inside;
    std::int64_t known = inside ? run : 0;
    for (std::size_t e = 0; e < edge_count_; ++e) {
      const EdgeLine& edge = edges_[e];
      const EdgeSideOf now = EdgeSide(edge, x, y);
      if (!inside && now.inside) continue;
      if (!edge.centre_below && !edge.centre_above) return run;  // outside this edge for good
      // When y and the line move apart or one of them stands still, their difference moves
      // one way only, and the side alone tells; otherwise the line must stay put as well.
      const double line_way = static_cast<double>(edge.slope) * dx;
      const bool one_way = (dy >= 0 && line_way <= 0) || (dy <= 0 && line_way >= 0);
      const auto same = [&](std::int64_t k) {
        const Point p = at(k);
        const EdgeSideOf then = EdgeSide(edge, p.X, p.Y);
        return then.inside == now.inside && (one_way || then.rounded == now.rounded);
      };
      // Inside: no edge can last longer than the shortest so far; outside: only an edge that
      // lasts longer than the longest so far matters.
      std::int64_t good = inside ? 0 : known;
      std::int64_t bad = inside ? known : run;
      if (good == bad) break;
      good = LastSame(good, bad, same);
      known = inside ? std::min(known, good) : std::max(known, good);
    }
    return known;
  }

  // Pushes known ahead: the steps alone, taken in runs. While every value stays inside its
  // binade each push adds the same amount to it (SteadyRun below), so a run of n pushes is that
  // amount n times, worked out exactly in double. Where a value is about to change binade the
  // pushes are made one by one with the float addition itself. A single push that changes
  // nothing is repeated by every push after it, so it ends the pushing at once, and the next
  // pass finds that it changes nothing.
  void PushAhead(std::int64_t pushes, float step_x, float step_y) {
    while (pushes > 0) {
      // Looking for a run costs more than a few pushes: few are simply made.
      const std::int64_t run = pushes < kSinglePushes
                                   ? 0
                                   : std::min({pushes, SteadyRun(xs_, x_count_, step_x),
                                               SteadyRun(ys_, y_count_, step_y)});
      if (run >= 2) {
        Leap(xs_, x_count_, step_x, run);
        Leap(ys_, y_count_, step_y, run);
        pushes_made_ += run;
        pushes -= run;
        continue;
      }
      // No run: a block of single pushes, the first of them checked for a change.
      const auto xs_before = xs_;
      const auto ys_before = ys_;
      Push(step_x, step_y);
      if (SameLanes(xs_before, ys_before)) return;
      const std::int64_t block = std::min<std::int64_t>(pushes, kSinglePushes);
      PushMany(block - 1, step_x, step_y);
      pushes -= block;
    }
  }

  void WriteBack(Body& ship) const {
    for (std::size_t i = 0; i < kBodyPoints; ++i) {
      ship.Points[i] = Point{xs_[x_of_[i]], ys_[y_of_[i]]};
    }
  }

 private:
  struct KnownAnswer {
    bool known = false;
    bool inside = false;
    float at_x = 0;
    float at_y = 0;
    double reach = 0;  // the answer holds while the point stays less than this far in x and y
  };

  // Every distinct value takes a step, in blocks of eight lanes: the values of the ship's shape
  // fit in one, and the lanes beyond the values hold numbers that nothing reads.
  // Many pushes in a row: the same additions as Push, lane by lane, with each block of lanes
  // held in locals so that the additions are not held up by the values' trips to memory.
  void PushMany(std::int64_t pushes, float step_x, float step_y) {
    pushes_made_ += pushes;
    for (std::size_t block = 0; block < lanes_; block += kBlock) {
      std::array<float, kBlock> x{};
      std::array<float, kBlock> y{};
      std::copy_n(xs_.begin() + static_cast<std::ptrdiff_t>(block), kBlock, x.begin());
      std::copy_n(ys_.begin() + static_cast<std::ptrdiff_t>(block), kBlock, y.begin());
      for (std::int64_t n = 0; n < pushes; ++n) {
        for (std::size_t k = 0; k < kBlock; ++k) x[k] += step_x;
        for (std::size_t k = 0; k < kBlock; ++k) y[k] += step_y;
      }
      std::copy_n(x.begin(), kBlock, xs_.begin() + static_cast<std::ptrdiff_t>(block));
      std::copy_n(y.begin(), kBlock, ys_.begin() + static_cast<std::ptrdiff_t>(block));
    }
  }

  void Push(float step_x, float step_y) {
    ++pushes_made_;
    for (std::size_t block = 0; block < lanes_; block += kBlock) {
      for (std::size_t k = block; k < block + kBlock; ++k) xs_[k] += step_x;
      for (std::size_t k = block; k < block + kBlock; ++k) ys_[k] += step_y;
    }
  }

  // Whether every value of the ship is still, bit for bit, what it was (the spare lanes past
  // the values are not looked at: nothing reads them).
  bool SameLanes(const std::array<float, kLanes>& xs, const std::array<float, kLanes>& ys) const {
    for (std::size_t k = 0; k < x_count_; ++k) {
      if (!SameBits(xs_[k], xs[k])) return false;
    }
    for (std::size_t k = 0; k < y_count_; ++k) {
      if (!SameBits(ys_[k], ys[k])) return false;
    }
    return true;
  }

  // The longest run of pushes that adds one and the same double, `Increment`, to each of the
  // values. A normal float x with |x| in [2^e, 2^(e+1)] is a whole multiple of u = 2^(e-23), and
  // so are all floats of that range. When the exact sum x + step also lies in that range, the
  // push rounds it to the nearest multiple of u, which is x plus step rounded to a multiple of
  // u: the same increment d for every such x. The one exception is a step that lies exactly
  // half way between two multiples of u: the tie goes to the even multiple, so the increment
  // depends on whether x is an even or an odd multiple. After one push x is even, and from then
  // on the increment (the even one of the two) keeps it even; so a run is only taken when the
  // increment is an even multiple of u, and otherwise a single float addition makes x even.
  // The run lasts while both x + k d and x + k d + step stay within the range: both move
  // monotonically with k, so the first and the last push of the run are the ones to check.
  static std::int64_t SteadyRun(const std::array<float, kLanes>& values, std::size_t count,
                                float step) {
    std::int64_t run = kLongestRun;
    for (std::size_t k = 0; k < count && run > 0; ++k) {
      run = std::min(run, SteadyRun(values[k], step));
    }
    return run;
  }

  static std::int64_t SteadyRun(float x, float step) {
    if (!std::isnormal(x) || !std::isfinite(step)) return 0;
    const double u = std::ldexp(1.0, std::ilogb(x) - 23);
    const double d = Increment(x, step);
    const double quotient = static_cast<double>(step) / u;  // exact: u is a power of two
    const bool tie = quotient - std::floor(quotient) == 0.5;
    if (tie && std::fmod(d / u, 2.0) != 0.0) return 0;
    // In magnitudes, so that the range is [low, high] whatever the sign of x.
    const double sign = x > 0 ? 1.0 : -1.0;
    const double low = std::ldexp(1.0, std::ilogb(x));
    const double high = 2 * low;
    const double size = sign * static_cast<double>(x);
    const double step_size = sign * static_cast<double>(step);
    const double d_size = sign * d;
    // The values x + k d are exact in double (multiples of u below 2^(e+1), k below 2^31); the
    // sum with the step may round, but strictly inside the range after rounding means strictly
    // inside before it, as rounding keeps order and the range's ends are doubles.
    const auto stays = [&](std::int64_t k) {
      const double sum = size + static_cast<double>(k) * d_size + step_size;
      return low < sum && sum < high;
    };
    if (!stays(0)) return 0;
    if (d_size == 0) return kLongestRun;  // the push rounds back to x every time
    const double room = d_size > 0 ? high - size - step_size : size + step_size - low;
    const double last = std::floor(std::min(room / std::abs(d_size), double{kLongestRun}));
    std::int64_t k = RoundToInt(std::max(last, 0.0));
    while (k > 0 && !stays(k)) --k;  // the estimate may be a little high through rounding
    return k + 1;
  }

  // What a push adds to x: the float sum less x, exact in double.
  static double Increment(float x, float step) {
    const float next = x + step;
    return static_cast<double>(next) - static_cast<double>(x);
  }

  // A run of pushes that SteadyRun allows: the same increment `run` times, exact in double,
  // and the result (a multiple of u within the range) exact in float.
  static void Leap(std::array<float, kLanes>& values, std::size_t count, float step,
                   std::int64_t run) {
    for (std::size_t k = 0; k < count; ++k) {
      const double d = Increment(values[k], step);
      values[k] = static_cast<float>(static_cast<double>(values[k]) + static_cast<double>(run) * d);
    }
  }

  // Two values that the pushes have brought onto the very same float stay the same float for
  // good, as every push does the same addition to both: the points of the later one are
  // handed the first one, so that they are seen to share it.
  void ShareEqualLanes() {
    for (std::size_t i = 0; i < kBodyPoints; ++i) {
      x_of_[i] = FirstEqual(xs_, x_of_[i]);
      y_of_[i] = FirstEqual(ys_, y_of_[i]);
    }
  }

  static std::uint8_t FirstEqual(const std::array<float, kLanes>& values, std::uint8_t lane) {
    for (std::uint8_t k = 0; k < lane; ++k) {
      if (SameBits(values[k], values[lane])) return k;
    }
    return lane;
  }

  static std::uint8_t Distinct(std::array<float, kLanes>& values, std::size_t& count, float value) {
    for (std::size_t k = 0; k < count; ++k) {
      if (SameBits(values[k], value)) return static_cast<std::uint8_t>(k);
    }
    values[count] = value;
    return static_cast<std::uint8_t>(count++);
  }

  static double Size(float value) { return std::abs(static_cast<double>(value)); }

  float X(std::size_t point) const { return xs_[x_of_[point]]; }
  float Y(std::size_t point) const { return ys_[y_of_[point]]; }

  // As OutlineLength counts the ship's outline.
  std::int32_t CountOutline() const {
    std::int32_t count = 0;
    for (std::size_t i = 1; i < kBodyPoints - 1; ++i) {
      if (X(i) == X(0) || Y(i) == Y(0)) break;
      ++count;
    }
    return count;
  }

  // The line each edge is tested against, walked as the hull test walks it: an edge whose ends
  // share their whole x keeps the line before it, which for the first edge is the line the last
  // test left behind. The walk leaves that same line behind again.
  void ReadPlanet(Game& game, const Body& planet) {
    const Point& centre = planet.Points[0];
    const float slope_before = game.LineSlope;
    const float intercept_before = game.LineIntercept;
    for (std::size_t i = 1; i < kBodyPoints - 1; ++i) {
      const Point& from = planet.Points[i];
      if (from.X == centre.X && from.Y == centre.Y) break;
      const Point& next = planet.Points[i + 1];
      const Point& to = next.X == centre.X || next.Y == centre.Y ? planet.Points[1] : next;
      const std::int32_t from_x = RoundToInt(from.X);
      const std::int32_t to_x = RoundToInt(to.X);
      if (from_x != to_x) LineThrough(game, from_x, RoundToInt(from.Y), to_x, RoundToInt(to.Y));
      EdgeLine& edge = edges_[edge_count_++];
      edge.slope = game.LineSlope;
      edge.intercept = game.LineIntercept;
      const float centre_line = game.LineSlope * centre.X + game.LineIntercept;
      edge.centre_below = centre.Y < centre_line;
      edge.centre_above = centre.Y > centre_line;
    }
    game.LineSlope = slope_before;
    game.LineIntercept = intercept_before;
  }

  bool Inside(std::size_t point) {
    KnownAnswer& answer = answers_[point];
    const float x = X(point);
    const float y = Y(point);
    if (answer.known && std::abs(static_cast<double>(x) - answer.at_x) < answer.reach &&
        std::abs(static_cast<double>(y) - answer.at_y) < answer.reach) {
      return answer.inside;
    }
    answer = Test(x, y);
    return answer.inside;
  }

  // The test of the hull: on the centre's side of every edge, the product rounded to a whole
  // number before the intercept is added. With it, how far the point may go before the answer
  // could change: a move of d in x and in y moves the edge's line at the point's x by at most
  // |slope| d, its rounding by at most 1 more, and the float sums by a few units in their last
  // place, which the slack covers many times over.
  KnownAnswer Test(float x, float y) const {
    KnownAnswer answer{true, edge_count_ > 0, x, y, 0};
    double inside_reach = kMostTravel;
    double outside_reach = 0;
    for (std::size_t e = 0; e < edge_count_; ++e) {
      const EdgeLine& edge = edges_[e];
      const float point_line = static_cast<float>(RoundToInt(edge.slope * x)) + edge.intercept;
      const bool centre_side =
          (y < point_line && edge.centre_below) || (y > point_line && edge.centre_above);
      const double steepness = 1.0 + std::abs(static_cast<double>(edge.slope));
      if (!edge.centre_below && !edge.centre_above) {
        answer.inside = false;  // the centre on the line: no point is ever inside this edge
        outside_reach = kMostTravel;
        continue;
      }
      const double margin = edge.centre_below ? static_cast<double>(point_line) - y
                                              : static_cast<double>(y) - point_line;
      const double slack =
          1.0 + (std::abs(static_cast<double>(edge.slope)) * (std::abs(x) + 128.0) +
                 std::abs(static_cast<double>(point_line)) + std::abs(y) + 128.0) *
                    0x1p-20;
      if (centre_side) {
        inside_reach = std::min(inside_reach, (margin - slack) / steepness);
      } else {
        answer.inside = false;
        outside_reach = std::max(outside_reach, (-margin - slack) / steepness);
      }
    }
    const double reach = std::min(answer.inside ? inside_reach : outside_reach, kMostTravel);
    answer.reach = std::isfinite(reach) && reach > 0 ? reach : 0;
    return answer;
  }

  std::size_t lanes_ = 0;
  std::array<float, kLanes> xs_{};
  std::array<float, kLanes> ys_{};
  std::size_t x_count_ = 0;
  std::size_t y_count_ = 0;
  std::array<std::uint8_t, kBodyPoints> x_of_{};
  std::array<std::uint8_t, kBodyPoints> y_of_{};
  std::int32_t outline_ = 0;
  std::array<EdgeLine, kBodyPoints> edges_{};
  std::size_t edge_count_ = 0;
  std::array<KnownAnswer, kBodyPoints> answers_{};
  std::int64_t pushes_made_ = 0;     // all pushes so far, to pace the exact following
  std::int64_t exact_again_at_ = 0;  // no exact following before this many pushes
  std::int64_t exact_wait_ = 0;
  std::int64_t apart_again_at_ = 0;  // the same for ApartAhead
  std::int64_t apart_wait_ = 0;
};

}  // namespace

std::int32_t RunLaterHullPasses(Game& game, const Body& planet, float step_x, float step_y) {
  Body& ship = game.Bodies.At(kShipIndex);
  HullWalk walk(game, planet, ship);
  std::int32_t end_point = 1;
  bool changed = true;
  do {
    walk.PushAhead(walk.PushesKnownAhead(step_x, step_y), step_x, step_y);
  } while (walk.Pass(step_x, step_y, end_point, changed) && changed);
  walk.WriteBack(ship);
  game.ShipCopy.Points = ship.Points;
  return end_point;
}

}  // namespace starvane
