#pragma once
// The two choices a game starts from, as the command line, an input script's header and the
// launcher name them: the difficulty level and the ship.

#include <optional>
#include <string_view>

namespace starvane {

// A difficulty level by name (very-easy, easy, normal, hard, crazy) or factor (0.2, 1, 10, 70,
// 150); nothing for any other text.
std::optional<float> ParseDifficulty(std::string_view text);

// Whether a text can name a ship. A name is one line of the ship list, so any bytes but a line
// end or a zero byte, the empty text included; the ship's file name is made safe on its own.
bool IsValidShipName(std::string_view name);

}  // namespace starvane
