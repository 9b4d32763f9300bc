#include "combat/hull_passes.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>

#include "base/rounding.hpp"
#include "world/contact_geometry.hpp"
#include "world/kinds.hpp"

// Every push adds the same step to every point of the ship, so a point's coordinate after n
// pushes depends only on where it started: points that start on the same float end on the same
// float. The walk below therefore keeps each distinct x and each distinct y of the ship once
// (seven of each for the ship's shape, whose trailing points are all copies of its centre),
// adds the step to those with exactly the float addition a push makes, one push at a time, and
// only at the end hands every point its value. Adding the step n times is not the same float as
// adding n times the step, so the pushes are never lumped together.
//
// The test of a point against the planet's outline reads only that point and the lines of the
// planet's edges. Those lines are the same at every test after the first, so they are worked
// out once. A test that finds a point well inside every edge, or well outside one, also works
// out how far the point may travel before the answer could change; until it has travelled that
// far the answer stands without the edges being walked again.

namespace starvane {
namespace {

struct EdgeLine {
  float slope = 0;
  float intercept = 0;
  bool centre_below = false;  // the planet's centre lies below the line (a smaller y)
  bool centre_above = false;
};

// How far in x or in y a point may travel on one known answer: small enough that the
// coordinates, and the rounding errors that grow with them, stay near what the answer was
// worked out at.
constexpr double kMostTravel = 64;

// The distinct values are stepped in blocks of eight lanes; room for every point distinct.
constexpr std::size_t kBlock = 8;
constexpr std::size_t kLanes = 104;

// Two floats of the same bits: NaN equals itself here, and 0 differs from -0.
bool SameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
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
  std::int64_t PushesKnownAhead(float step_x, float step_y) const {
    if (outline_ < 1) return 0;
    double largest = 0;
    for (std::size_t k = 0; k < x_count_; ++k) largest = std::max(largest, Size(xs_[k]));
    for (std::size_t k = 0; k < y_count_; ++k) largest = std::max(largest, Size(ys_[k]));
    const double wobble = std::ldexp(largest + 4 * kMostTravel, -22);
    const double move = std::max(Size(step_x), Size(step_y)) + wobble;
    if (!std::isfinite(move) || !(move > 0)) return 0;
    std::int64_t inside = 0;
    double reach = kMostTravel;
    double gap = std::numeric_limits<double>::infinity();
    const auto last = static_cast<std::size_t>(outline_);
    for (std::size_t j = 1; j <= last; ++j) {
      const KnownAnswer& answer = answers_[j];
      if (!answer.known) return 0;
      if (answer.inside) ++inside;
      const double used = std::max(std::abs(static_cast<double>(X(j)) - answer.at_x),
                                   std::abs(static_cast<double>(Y(j)) - answer.at_y));
      reach = std::min(reach, answer.reach - used);
      gap = std::min({gap, std::abs(static_cast<double>(X(j)) - X(0)),
                      std::abs(static_cast<double>(Y(j)) - Y(0))});
    }
    // The point that ends the outline must keep sharing the centre's x or y for good: it does
    // when it holds the very same value, which every push moves alike.
    if (last + 1 < kBodyPoints - 1 && x_of_[last + 1] != x_of_[0] && y_of_[last + 1] != y_of_[0]) {
      return 0;
    }
    if (inside == 0 || !(reach > 0)) return 0;
    const double pushes = std::min(reach / move, gap / (2 * wobble)) - 1;
    if (!(pushes >= static_cast<double>(inside))) return 0;
    const auto passes = static_cast<std::int64_t>(std::min(pushes, 1e9)) / inside;
    return passes * inside;
  }

  // Pushes known ahead: the steps alone. A push that changes nothing is repeated by every push
  // after it, so one push in every 256 is checked: steps that have become too small to move
  // any value (half a unit in the last place, rounded away) end the pushing at once, and the
  // next pass finds that it changes nothing.
  void PushAhead(std::int64_t pushes, float step_x, float step_y) {
    for (std::int64_t n = 0; n < pushes; ++n) {
      if (n % 256 != 0) {
        Push(step_x, step_y);
        continue;
      }
      const auto xs_before = xs_;
      const auto ys_before = ys_;
      Push(step_x, step_y);
      if (SameLanes(xs_before, ys_before)) return;
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
  void Push(float step_x, float step_y) {
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
          1.0 + std::ldexp(std::abs(static_cast<double>(edge.slope)) * (std::abs(x) + 128.0) +
                               std::abs(static_cast<double>(point_line)) + std::abs(y) + 128.0,
                           -20);
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
