#pragma once
// Naming a user's text, and a system's reason, in a message.

#include <string>
#include <string_view>

namespace starvane {

// The text in quotes, with control bytes shown as \xNN so that a message stays one clean line.
std::string Quoted(std::string_view text);

// The system's words for an errno value ("No space left on device"), for a message's reason.
std::string ErrnoText(int error);

}  // namespace starvane
