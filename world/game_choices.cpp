#include "world/game_choices.hpp"

#include <array>

namespace starvane {
namespace {

struct Level {
  std::string_view name;
  std::string_view factor_text;
  float factor;
};

// The five levels; the factor scales how tough enemy craft are, how hard they hit, what they
// pay and what a death costs.
constexpr std::array<Level, 5> kLevels{{
    {"very-easy", "0.2", 0.2f},
    {"easy", "1", 1.0f},
    {"normal", "10", 10.0f},
    {"hard", "70", 70.0f},
    {"crazy", "150", 150.0f},
}};

}  // namespace

std::optional<float> ParseDifficulty(std::string_view text) {
  for (const Level& level : kLevels) {
    if (text == level.name || text == level.factor_text) return level.factor;
  }
  return {};
}

bool IsValidShipName(std::string_view name) {
  return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace starvane
