#pragma once
// The result a kept recording claims on its last line, and what --verify prints of it: the
// frames played, the money at the start and the end, what the player destroyed and how often
// the ship died, and the hash of the last frame.
//
//   result frames N moneyStart A moneyEnd B bigRocks n rocks n littleRocks n fragments n
//          crafts n glimmerhexes n deaths n frameHash 0123456789abcdef      (one line)

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace starvane {

struct RecordingResult {
  std::int64_t frames = 0;
  std::int64_t money_start = 0;
  std::int64_t money_end = 0;
  // Destroyed, by kind: big rocks, rocks, little rocks, fragments, crafts, glimmerhexes.
  std::array<std::int64_t, 6> kills{};
  std::int64_t deaths = 0;
  std::uint64_t frame_hash = 0;
  bool operator==(const RecordingResult&) const = default;
};

// The names of the result line, in their order ("frames", ..., "frameHash").
const std::array<std::string_view, 11>& ResultNames();

// The result line, with its line feed.
std::string ResultLine(const RecordingResult& result);

// Reads the words of a result line after "result"; the problem, or nothing when they are good.
std::optional<std::string> ParseResultWords(const std::vector<std::string_view>& words,
                                            RecordingResult& result);

// The first field in which the two differ (in the line's order), named with both its values:
// "deaths: the recording claims 3, its replay gives 4"; "" when none does.
std::string FirstDifference(const RecordingResult& claimed, const RecordingResult& replayed);

// The replayed result as one line of JSON, with whether it is the claimed one and, when it is
// not, what differs.
std::string ResultJson(const RecordingResult& replayed, bool verified, std::string_view difference);

}  // namespace starvane
