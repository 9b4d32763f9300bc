#pragma once
// A recording as a link to the game's page: the page's address, "#r=", then the recording's
// bytes compressed with raw deflate (no zlib or gzip wrapper) in base64url without padding.
// Everything after '#' stays in the browser: the page reads the recording from it and plays
// it, and no web server ever receives it. The page makes the same links itself (with the
// browser's CompressionStream('deflate-raw')), so a link from either side opens on both.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "replay/input_script.hpp"

namespace starvane {

// The longest link read: a 10-minute game makes a few kilobytes of link; this is far beyond
// any real one and still small in memory. What it inflates to is held to the longest input
// script (kMostInputScriptBytes), so a hostile link cannot fill the memory either.
constexpr std::size_t kMostLinkBytes = 2u << 20;

struct LinkError {
  std::string message;  // one line, for "starvane: ..."
};

// A text that is a link to a recording rather than a file's name: it holds "#r=".
bool IsRecordingLink(std::string_view text);

// False in the browser's builds, which leave links to the page (its own compression).
bool LinksInThisBuild();

// The link to `site` (any fragment it has is replaced) that holds the recording.
std::variant<std::string, LinkError> LinkOfRecording(std::string_view recording,
                                                     std::string_view site);

// The recording a link holds. A link too long, without "#r=", with nothing after it, with
// characters outside base64url, with compressed data that is damaged, cut short or followed by
// more bytes, or that inflates past most_bytes is refused, each with its reason.
std::variant<std::string, LinkError> RecordingOfLink(
    std::string_view link, std::size_t most_bytes = kMostInputScriptBytes);

}  // namespace starvane
