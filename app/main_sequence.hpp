#pragma once

#include <span>
#include <string_view>

namespace starvane {

// The whole program after the process starts: the command line (or its help), then one
// session, prepared, played and finished (app/session.hpp). Returns the process's exit status.
int RunStarvane(std::span<const std::string_view> args);

}  // namespace starvane
