#pragma once
// Naming a user's text in a message.

#include <string>
#include <string_view>

namespace starvane {

// The text in quotes, with control bytes shown as \xNN so that a message stays one clean line.
std::string Quoted(std::string_view text);

}  // namespace starvane
