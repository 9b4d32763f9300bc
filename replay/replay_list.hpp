#pragma once
// The list of kept games that the launcher offers to watch: the recordings in the files
// directory's replays/ folder (named YYYY-MM-DD_HH-MM-SS.txt by the game's start in UTC, with
// _2, _3 ... for a second game of the same second), newest first.
//
// Listing must stay quick however many or however large the files are: of each file only the
// header lines (up to the first event) and the last lines (the end and the result) are read,
// never the events between, and only the newest kMostListedReplays names are looked at. A file
// that is not a recording as the game writes them (cut, binary, hostile) is listed as damaged.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace starvane {

constexpr std::size_t kMostListedReplays = 50;
// The most of a file's start that is read for its header lines: the ship file's line (64 KiB
// of ship in base64) and the others fit several times over.
constexpr std::size_t kMostReplayHeadBytes = 256u << 10;
// The most of its end read for the last lines: a result line and an end line fit in far less.
constexpr std::size_t kMostReplayTailBytes = 4u << 10;

struct ReplaySummary {
  std::optional<std::int64_t> start;  // the game's start, in seconds since 1970 (UTC)
  std::string ship;
  std::optional<float> difficulty;
  std::optional<std::int64_t> length;  // in frames
  std::optional<std::int64_t> money_earned;
  bool damaged = false;
};

// What a recording says of itself, from its first bytes (head: up to kMostReplayHeadBytes)
// and its last (tail: up to kMostReplayTailBytes, the file's very end). The length is the end
// line's frame, else the result's frames, else the last event's frame; a last line without its
// line end (one cut by a crash) is left out. Damaged: no ship or difficulty line before the
// events, a header line it cannot read, or bytes that are no text.
ReplaySummary SummarizeReplay(std::string_view head, std::string_view tail);

// The seconds since 1970 of a kept recording's name ("2026-12-10_13-40-05.txt", "..._2.txt"),
// nothing for any other name; the number after the underscore (1 without one) in `take`.
std::optional<std::int64_t> ReplayNameTime(std::string_view name, int* take = nullptr);

struct ReplayListing {
  std::filesystem::path path;
  ReplaySummary summary;
};

// The newest kMostListedReplays recordings of the folder, newest first (nothing when there is
// no such folder). Each file is opened once and read at its start and end only.
std::vector<ReplayListing> ListReplays(const std::filesystem::path& folder);

// One row of the list, in columns of fixed widths: the start in local time (utc_offset: seconds
// to add to UTC), the ship (its first 10 characters), the difficulty, the length m:ss and the
// money earned ("?" without a result), or "damaged" after the start for a damaged file.
std::string ReplayListRow(const ReplaySummary& summary, std::int64_t utc_offset);

// How far this machine's local time is ahead of UTC at that moment, in seconds.
std::int64_t LocalUtcOffset(std::int64_t seconds_since_1970);

}  // namespace starvane
