#include "combat/spark_burst.hpp"

#include <algorithm>

#include "base/random.hpp"
#include "world/adders.hpp"
#include "world/body_geometry.hpp"

namespace starvane {
namespace {

// A whole number from 0 to max inclusive, for a max beyond 32 bits: by Random's own rule, the
// part above the low 64 bits of a 64-bit draw times max + 1, here from the full 128-bit
// product. For a max that fits 32 bits it gives exactly what Random gives for the same draw.
std::int64_t RandomUpTo(RandomGenerator& generator, std::int64_t max) {
  const std::uint64_t draw = generator.Draw64();
  if (max <= 0) return 0;
  constexpr std::uint64_t kLow = 0xFFFFFFFFu;
  const auto factor = static_cast<std::uint64_t>(max) + 1;
  const std::uint64_t low_low = (draw & kLow) * (factor & kLow);
  const std::uint64_t high_low = (draw >> 32) * (factor & kLow);
  const std::uint64_t low_high = (draw & kLow) * (factor >> 32);
  const std::uint64_t high_high = (draw >> 32) * (factor >> 32);
  const std::uint64_t middle = (low_low >> 32) + (high_low & kLow) + (low_high & kLow);
  return static_cast<std::int64_t>(high_high + (high_low >> 32) + (low_high >> 32) +
                                   (middle >> 32));
}

}  // namespace

void SparkBurst(Game& game, std::int32_t x, std::int32_t y, std::int32_t n, std::int32_t red,
                std::int32_t green, std::int32_t blue) {
  if (n < 1) return;
  // The count is capped, not the spread: a burst of a hard hit flies as far as its n says.
  const std::int32_t count = std::min(n, kMostSparksPerBurst);
  const std::int64_t spread = std::int64_t{10} * n;  // beyond 32 bits for the largest n
  const std::int64_t half = std::int64_t{5} * n;
  for (std::int32_t k = 0; k < count; ++k) {
    // Tenths of a unit from -n / 2 to +n / 2; y is drawn before x.
    const float sy = static_cast<float>(RandomUpTo(game.Rng, spread) - half) / 10;
    const float sx = static_cast<float>(RandomUpTo(game.Rng, spread) - half) / 10;
    AddSpark(game, x, y, sx, sy, 2, 0, red, green, blue);
    const Rotation rotation = SetRotation(Random(game.Rng, 360));
    Spark& spark = game.Sparks.Current();
    spark.SpeedX = rotation.CosA * sx + rotation.SinA * sy;
    spark.SpeedY = rotation.CosA * sy - rotation.SinA * sx;
  }
}

}  // namespace starvane
