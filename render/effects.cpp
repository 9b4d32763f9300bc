#include "render/effects.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/random.hpp"
#include "base/rounding.hpp"
#include "base/text_numbers.hpp"
#include "world/adders.hpp"
#include "world/kinds.hpp"
#include "world/list_walk.hpp"
#include "world/steering.hpp"
#include "world/weapons.hpp"

// As everywhere in the game, the random values of one call are drawn into locals from its last
// argument to its first, unless a step says otherwise.

namespace starvane {
namespace {

// Sums that only a broken ship file or a careless caller pushes past the 32-bit range stop at
// its ends instead of overflowing; the screen clamps colours and clips shapes anyway.
std::int32_t Saturated(std::int64_t value) {
  using Limits = std::numeric_limits<std::int32_t>;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, Limits::min(), Limits::max()));
}

// A fading spark loses 0 to 10 of each colour a frame (red, green, blue drawn in that order).
// Once black it is removed by the next frame, so it is seen black for no frame at all. Steady
// sparks keep their colour.
void FadeSparks(Game& game) {
  WalkListRemoving(game.Sparks, [&](Spark& spark) {
    if (spark.Steady != 0) return false;
    if (spark.Red <= 0 && spark.Green <= 0 && spark.Blue <= 0) return true;
    for (std::int16_t* channel : {&spark.Red, &spark.Green, &spark.Blue}) {
      *channel = static_cast<std::int16_t>(std::max(*channel - Random(game.Rng, 10), 0));
    }
    return false;
  });
}

// The flash of a respawn or teleport runs back to black, 5 a frame on each channel.
void FadeBackground(Game& game) {
  for (std::int16_t* channel : {&game.BackRed, &game.BackGreen, &game.BackBlue}) {
    *channel = static_cast<std::int16_t>(std::max(*channel - 5, 0));
  }
}

// Above a speed of 10 the view shakes by up to a tenth of the speed, centred on half of it;
// each axis draws its own.
void ShakeView(Game& game) {
  if (!(game.ShipSpeed > 10)) return;
  const std::int32_t reach = RoundToInt(game.ShipSpeed / 10);
  game.ViewX = game.ViewX + static_cast<float>(Random(game.Rng, reach)) - game.ShipSpeed / 2;
  game.ViewY = game.ViewY + static_cast<float>(Random(game.Rng, reach)) - game.ShipSpeed / 2;
}

// The glimmerhex, while near the screen: a trail of rainbow sparks drifting back from its
// course, its caption in a new colour every frame, and once every 11 frames a new aim at the
// point a hundred frames ahead on its course.
void Glimmerhex(Game& game) {
  Body* hex = game.Bodies.SelectElement(kGlimmerhexIndex);
  if (hex == nullptr || hex->NearScreen != 1 || hex->Kind != kKindGlimmerhex) return;
  const Point centre = hex->Points[0];
  const float speed_x = hex->SpeedX;
  const float speed_y = hex->SpeedY;
  {
    const std::int32_t blue = Random(game.Rng, 255);
    const std::int32_t green = Random(game.Rng, 255);
    const std::int32_t red = Random(game.Rng, 255);
    const std::int32_t drift_y = Random(game.Rng, 2);
    const std::int32_t drift_x = Random(game.Rng, 2);
    AddSpark(game, RoundToInt(centre.X), RoundToInt(centre.Y),
             static_cast<float>(drift_x) - speed_x - 1, static_cast<float>(drift_y) - speed_y - 1,
             2, 0, red, green, blue);
  }
  Canvas& screen = game.media.Screen;
  screen.Locate(RoundToInt(centre.X + game.ViewX - 50), RoundToInt(centre.Y + game.ViewY - 50));
  {
    const std::int32_t blue = Random(game.Rng, 255);
    const std::int32_t green = Random(game.Rng, 255);
    const std::int32_t red = Random(game.Rng, 255);
    screen.FrontColor(red, green, blue);
  }
  screen.BackColor(0, 0, 0);
  screen.DrawText("THE GLIMMERHEX");
  if (game.FrameTick == 10) {
    // Point 1 is its nose, and its centre stands in for the tail.
    SteerTo(game, kGlimmerhexIndex, 1, 0, RoundToInt(centre.X + 100 * speed_x),
            RoundToInt(centre.Y + 100 * speed_y), 3);
  }
}

// The shield's red and green pulse with the 11-frame cycle.
void PulseShield(Game& game) {
  game.Bodies.SelectElement(kShieldIndex);
  Body& shield = game.Bodies.Current();
  shield.Red = static_cast<std::int16_t>(15 * game.FrameTick);
  shield.Green = static_cast<std::int16_t>(15 * game.FrameTick);
}

// The running shock crackles: a short blue bolt from the ship's centre to a random point at
// most 10 units away on each axis.
void ShockCrackle(Game& game, const Point& centre) {
  if (game.Shock.Active != 1) return;
  const std::int32_t to_y = Random(game.Rng, 20);
  const std::int32_t to_x = Random(game.Rng, 20);
  DrawLightning(game, RoundToInt(centre.X), RoundToInt(centre.Y),
                RoundToInt(centre.X + static_cast<float>(to_x) - 10),
                RoundToInt(centre.Y + static_cast<float>(to_y) - 10), 10, 0, 0, 100);
}

// While the teleport charges: a flickering grey disc round the ship, half the charge in radius,
// and the charge in per cent at the top left.
void TeleportRing(Game& game, const Point& centre) {
  if (game.TeleportCharge <= 0) return;
  Canvas& screen = game.media.Screen;
  const std::int32_t shimmer = Random(game.Rng, 2);  // drawn afresh every frame: 0, 1 or 2
  const std::int32_t grey = game.TeleportCharge * shimmer;
  screen.FrontColor(grey, grey, grey);
  const std::int32_t radius = game.TeleportCharge / 2 + Random(game.Rng, 10) - 5;
  screen.Circle(RoundToInt(centre.X + game.ViewX), RoundToInt(centre.Y + game.ViewY), radius);
  screen.Locate(5, 25);
  screen.FrontColor(255, 255, 255);
  screen.BackColor(0, 0, 0);
  screen.DrawText("Teleport : " + IntToText(game.TeleportCharge) + "%");
}

// A glowing weapon (weapon 3) glows at the turret's muzzle as it recharges, growing and
// brightening with the reload counter.
void WeaponGlow(Game& game) {
  const Weapon* weapon = WeaponNumbered(game.SelectedWeapon);
  if (weapon == nullptr || !weapon->glows) return;
  game.Bodies.SelectElement(kTurretIndex);
  const Body& turret = game.Bodies.Current();
  const Point& muzzle = turret.Points[kMuzzlePoint];
  const float charge = game.ActiveWeapon.Value;
  Canvas& screen = game.media.Screen;
  screen.FrontColor(RoundToInt(charge / 2), RoundToInt(charge / 2), RoundToInt(charge));
  const std::int32_t radius =
      Saturated(std::int64_t{RoundToInt(charge / 25)} + Random(game.Rng, 2) - 1);
  screen.Circle(RoundToInt(muzzle.X + game.ViewX), RoundToInt(muzzle.Y + game.ViewY), radius);
}

}  // namespace

void UpdateEffects(Game& game) {
  FadeSparks(game);
  FadeBackground(game);
  ShakeView(game);
  Glimmerhex(game);
  PulseShield(game);
  game.Bodies.SelectElement(kShipIndex);
  const Point ship_centre = game.Bodies.Current().Points[0];
  ShockCrackle(game, ship_centre);
  TeleportRing(game, ship_centre);
  WeaponGlow(game);
}

void DrawLightning(Game& game, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                   std::int32_t n, std::int32_t red, std::int32_t green, std::int32_t blue) {
  if (n < 2) return;
  // The points live only while the bolt is drawn; a bolt has at most 51 (its callers keep to 50).
  std::array<Point, 51> points{};
  const auto count =
      static_cast<std::int32_t>(std::min<std::size_t>(static_cast<std::size_t>(n), points.size()));
  // The spans in 64 bits: the ends may be any integers.
  const auto span_x = static_cast<float>(std::int64_t{x2} - x1);
  const auto span_y = static_cast<float>(std::int64_t{y2} - y1);
  for (std::int32_t i = 0; i < count; ++i) {
    const float along = static_cast<float>(i) / static_cast<float>(count - 1);
    // Both ends included, every point jittered by -5..+5 units; x is drawn before y.
    const auto jitter_x = static_cast<float>(Random(game.Rng, 10));
    const auto jitter_y = static_cast<float>(Random(game.Rng, 10));
    Point& point = points[static_cast<std::size_t>(i)];
    point.X = static_cast<float>(x1) + along * span_x + jitter_x - 5;
    point.Y = static_cast<float>(y1) + along * span_y + jitter_y - 5;
  }
  Canvas& screen = game.media.Screen;
  const std::int32_t glow = 15 * game.FrameTick;  // brightens over the 11-frame cycle
  screen.FrontColor(Saturated(std::int64_t{red} + glow), Saturated(std::int64_t{green} + glow),
                    Saturated(std::int64_t{blue} + glow));
  for (std::int32_t i = 0; i + 1 < count; ++i) {
    const Point& from = points[static_cast<std::size_t>(i)];
    const Point& to = points[static_cast<std::size_t>(i) + 1];
    screen.LineXY(RoundToInt(from.X + game.ViewX), RoundToInt(from.Y + game.ViewY),
                  RoundToInt(to.X + game.ViewX), RoundToInt(to.Y + game.ViewY));
  }
}

}  // namespace starvane
