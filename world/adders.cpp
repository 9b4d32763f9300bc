#include "world/adders.hpp"

#include "base/rounding.hpp"

namespace starvane {

void AddButton(Game& game, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
               std::int32_t enabled) {
  Button& button = game.Buttons.AddElement();
  button.X = Low16(x);
  button.Y = Low16(y);
  button.Width = Low16(width);
  button.Height = Low16(height);
  button.Enabled = Low16(enabled);
}

void AddShot(Game& game, std::int32_t x, std::int32_t y, std::int32_t speed_x, std::int32_t speed_y,
             std::int32_t damage, ShotStyle style, std::int32_t red, std::int32_t green,
             std::int32_t blue) {
  Shot& shot = game.Shots.AddElement();
  shot.X = static_cast<float>(x);
  shot.Y = static_cast<float>(y);
  shot.SpeedX = static_cast<float>(speed_x);
  shot.SpeedY = static_cast<float>(speed_y);
  shot.Damage = Low16(damage);
  shot.Style = style;
  shot.Red = Low16(red);
  shot.Green = Low16(green);
  shot.Blue = Low16(blue);
}

void AddSpark(Game& game, std::int32_t x, std::int32_t y, float speed_x, float speed_y,
              std::int32_t size, std::int32_t steady, std::int32_t red, std::int32_t green,
              std::int32_t blue) {
  Spark& spark = game.Sparks.AddElement();
  spark.X = static_cast<float>(x);
  spark.Y = static_cast<float>(y);
  spark.SpeedX = speed_x;
  spark.SpeedY = speed_y;
  spark.Size = Low16(size);
  spark.Steady = Low16(steady);
  spark.Red = Low16(red);
  spark.Green = Low16(green);
  spark.Blue = Low16(blue);
}

void AddBigStar(Game& game, std::int32_t x, std::int32_t y) {
  Star& star = game.BigStars.AddElement();
  star.X = static_cast<float>(x);
  star.Y = static_cast<float>(y);
}

void AddSmallStar(Game& game, std::int32_t x, std::int32_t y) {
  Star& star = game.SmallStars.AddElement();
  star.X = static_cast<float>(x);
  star.Y = static_cast<float>(y);
}

}  // namespace starvane
