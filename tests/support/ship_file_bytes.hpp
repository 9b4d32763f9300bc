#pragma once
// Ship files made by hand for tests and the soak: every line as the game would read a file that
// ends before it, but for the fields given, so that they need no change when a field is added.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "workshop/ship_file_fields.hpp"

namespace starvane::testing {

// The bytes of a ship file whose lines hold their fields' absent texts, but for the fields given
// by index (ShipFileIndex("Money")) and text; each line ended by CR LF, as the game writes them.
inline std::string ShipFileWith(
    std::initializer_list<std::pair<std::size_t, std::string_view>> fields) {
  std::string text;
  for (std::size_t i = 0; i < kShipFileFields.size(); ++i) {
    std::string_view line = kShipFileFields[i].absent;
    for (const auto& [index, given] : fields) {
      if (index == i) line = given;
    }
    text += std::string(line) + "\r\n";
  }
  return text;
}

}  // namespace starvane::testing
