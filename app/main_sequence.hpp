#pragma once

#include <span>
#include <string_view>

namespace starvane {

// The whole program after the process starts: the command line, start-up, world generation,
// play, and the end. Returns the process's exit status.
int RunStarvane(std::span<const std::string_view> args);

}  // namespace starvane
