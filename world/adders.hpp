#pragma once
// The procedures that add a record to a world list. Each inserts a zero-filled element after the
// list's current one, makes it current and fills it from its arguments in order. Integer
// arguments that land in 16-bit fields keep their low 16 bits.

#include <cstdint>

#include "world/game.hpp"

namespace starvane {

void AddButton(Game& game, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
               std::int32_t enabled);

// Note the order: the damage comes before the style, unlike the record's fields.
void AddShot(Game& game, std::int32_t x, std::int32_t y, std::int32_t speed_x, std::int32_t speed_y,
             std::int32_t damage, ShotStyle style, std::int32_t red, std::int32_t green,
             std::int32_t blue);

void AddSpark(Game& game, std::int32_t x, std::int32_t y, float speed_x, float speed_y,
              std::int32_t size, std::int32_t steady, std::int32_t red, std::int32_t green,
              std::int32_t blue);

void AddBigStar(Game& game, std::int32_t x, std::int32_t y);
void AddSmallStar(Game& game, std::int32_t x, std::int32_t y);

}  // namespace starvane
