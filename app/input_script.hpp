#pragma once
// Input scripts: plain text, one entry per line, '#' starts a comment (except on a ship line,
// whose whole rest is the ship's name).
//
//   seed N | difficulty LEVEL | ship NAME     optional header lines, before the first event
//   F down KEY [KEY...]                       keys go down
//   F up KEY [KEY...]                         keys go up
//   F mouse DX DY                             relative mouse movement
//   F press [BUTTON] | F release [BUTTON]     mouse button 1..3 (default 1) down or up
//
// F counts presented frames: the event is in effect for every keyboard and mouse examination
// made after F frames have been presented. F never decreases from line to line.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "media/input_events.hpp"

namespace starvane {

struct InputScript {
  std::optional<std::uint64_t> seed;
  std::optional<float> difficulty;
  std::optional<std::string> ship;
  std::vector<InputEvent> events;
};

// "FILE:LINE: what is wrong".
struct InputScriptError {
  std::string message;
};

std::variant<InputScript, InputScriptError> ParseInputScript(std::string_view text,
                                                             std::string_view file_name);

// Reads and parses a script file; a file that cannot be read is an error too.
std::variant<InputScript, InputScriptError> LoadInputScript(const std::string& path);

// The header lines that make a recording replay the same game.
std::string InputScriptHeader(std::uint64_t seed, float difficulty, const std::string& ship);

}  // namespace starvane
