#pragma once
// Base64url (the URL- and file-name-safe alphabet: '-' and '_' for '+' and '/'), without the
// '=' padding: the form a recording takes in a link, where every character must pass through
// a URL, a chat message and a clipboard unchanged.

#include <optional>
#include <string>
#include <string_view>

namespace starvane {

std::string EncodeBase64Url(std::string_view bytes);

// The bytes, or nothing with `why` set: a character outside the alphabet (padding included) or
// a length no encoding has (one character over a group of four).
std::optional<std::string> DecodeBase64Url(std::string_view text, std::string& why);

}  // namespace starvane
