#pragma once
// Standard base64 (the alphabet with '+' and '/', '=' padding), as a kept recording holds the
// bytes of its ship file on one text line.

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

}  // namespace starvane
