#include "combat/spark_burst.hpp"

#include <algorithm>

#include "media/random.hpp"
#include "world/adders.hpp"
#include "world/body_geometry.hpp"

namespace starvane {

void SparkBurst(Game& game, std::int32_t x, std::int32_t y, std::int32_t n, std::int32_t red,
                std::int32_t green, std::int32_t blue) {
  if (n < 1) return;
  const std::int32_t count = std::min(n, kMostSparksPerBurst);  // 10 * count fits easily
  for (std::int32_t k = 0; k < count; ++k) {
    // Tenths of a unit from -count / 2 to +count / 2; y is drawn before x.
    const float sy = static_cast<float>(Random(game.Rng, 10 * count) - 5 * count) / 10;
    const float sx = static_cast<float>(Random(game.Rng, 10 * count) - 5 * count) / 10;
    AddSpark(game, x, y, sx, sy, 2, 0, red, green, blue);
    SetRotation(game, Random(game.Rng, 360));
    Spark& spark = game.Sparks.Current();
    spark.SpeedX = game.CosA * sx + game.SinA * sy;
    spark.SpeedY = game.CosA * sy - game.SinA * sx;
  }
}

}  // namespace starvane
