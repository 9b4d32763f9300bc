#pragma once
// Base64 in its two forms: the standard one (the alphabet with '+' and '/', '=' padding), as a
// kept recording holds the bytes of its ship file on one text line; and base64url (the URL- and
// file-name-safe alphabet: '-' and '_' for '+' and '/'), without the padding, the form a
// recording takes in a link, where every character must pass through a URL, a chat message and
// a clipboard unchanged.

#include <optional>
#include <string>
#include <string_view>

namespace starvane {

std::string EncodeBase64(std::string_view bytes);

// The bytes of strictly written base64: a length that is a multiple of four, only the
// alphabet's characters, '=' only as the last one or two, and the unused bits of the last
// group zero, so that every text decodes to one set of bytes and back to itself. Nothing for
// anything else, and nothing when the bytes would pass most_bytes.
std::optional<std::string> DecodeBase64(std::string_view text, std::size_t most_bytes);

std::string EncodeBase64Url(std::string_view bytes);

// The bytes, or nothing with `why` set: a character outside the alphabet (padding included), a
// length no encoding has (one character over a group of four), or unused bits that are not zero.
std::optional<std::string> DecodeBase64Url(std::string_view text, std::string& why);

}  // namespace starvane
