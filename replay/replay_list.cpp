#include "replay/replay_list.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <system_error>
#include <utility>

#include "base/text_numbers.hpp"
#include "base/utf8_text.hpp"
#include "files/input_file.hpp"
#include "files/path_text.hpp"
#include "files/utc_date.hpp"
#include "replay/input_script.hpp"
#include "replay/script_words.hpp"
#include "world/game_choices.hpp"

namespace starvane {
namespace {

constexpr std::int64_t kFramesPerSecond = 50;  // the game's pace: the length in m:ss

// Days from 1970-01-01 to a date of the Gregorian calendar (valid for every year of a file).
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

// Digits at [at, at + count) of the text as a number, or -1.
int DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return -1;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// "YYYY?MM?DD?HH?MM?SS" with any separators at 4, 7, 10, 13 and 16, as seconds since 1970.
std::optional<std::int64_t> TimeOfStamp(std::string_view text) {
  const int year = DigitsAt(text, 0, 4);
  const int month = DigitsAt(text, 5, 2);
  const int day = DigitsAt(text, 8, 2);
  const int hour = DigitsAt(text, 11, 2);
  const int minute = DigitsAt(text, 14, 2);
  const int second = DigitsAt(text, 17, 2);
  if (year < 0 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
      minute < 0 || minute > 59 || second < 0 || second > 60) {
    return std::nullopt;
  }
  return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

// The whole lines of a text, each without its line end (LF or CR LF); a last line without its
// line feed is left out.
std::vector<std::string_view> WholeLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (true) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) break;
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool IsEventLine(const std::vector<std::string_view>& words) {
  return !words.empty() && ParseWhole<std::int64_t>(words[0]).has_value();
}

// The frames and the money of a result line ("result frames N moneyStart A moneyEnd B ...").
void ReadResult(const std::vector<std::string_view>& words, ReplaySummary& summary) {
  std::map<std::string_view, std::int64_t> values;
  for (std::size_t i = 1; i + 1 < words.size(); i += 2) {
    if (const auto value = ParseWhole<std::int64_t>(words[i + 1])) values[words[i]] = *value;
  }
  const auto frames = values.find("frames");
  if (frames != values.end() && frames->second >= 0) summary.length = frames->second;
  const auto start = values.find("moneyStart");
  const auto end = values.find("moneyEnd");
  if (start != values.end() && end != values.end()) {
    const std::int64_t bound = std::int64_t{1} << 53;  // no subtraction can overflow
    summary.money_earned =
        std::clamp(end->second, -bound, bound) - std::clamp(start->second, -bound, bound);
  }
}

void ReadLastLines(std::string_view tail, ReplaySummary& summary) {
  const std::vector<std::string_view> lines = WholeLines(tail);
  // The end line, else the result's frames, else the last event's frame.
  std::optional<std::int64_t> end_frame;
  std::optional<std::int64_t> last_event;
  bool result_seen = false;
  for (std::size_t i = lines.size(); i-- > 0;) {
    const std::vector<std::string_view> words = ScriptWords(lines[i]);
    if (words.empty() || words[0].front() == '#') continue;
    if (words[0] == "result" && !result_seen) {
      result_seen = true;
      ReadResult(words, summary);
      continue;
    }
    if (!IsEventLine(words)) break;
    const auto frame = ParseWhole<std::int64_t>(words[0]);
    if (words.size() >= 2 && words[1] == "end") end_frame = frame;
    last_event = frame;
    break;
  }
  if (end_frame) {
    summary.length = end_frame;
  } else if (!summary.length) {
    summary.length = last_event;
  }
  if (summary.length && *summary.length < 0) summary.length.reset();
}

// The widths of the row's columns, in characters: with the launcher's font of fixed width
// they line up under each other.
constexpr std::size_t kShipColumn = 10;
constexpr std::size_t kLevelColumn = 9;
constexpr std::size_t kLengthColumn = 6;

// The text cut or padded with spaces to the width; right-aligned, it is padded on the left and
// never cut (a length, whose digits all count).
std::string Column(std::string_view text, std::size_t width, bool right = false) {
  const std::string_view shown = right ? text : FirstCharacters(text, width);
  const std::string padding(width - std::min(width, CharacterCount(shown)), ' ');
  return right ? padding + std::string(shown) : std::string(shown) + padding;
}

}  // namespace

ReplaySummary SummarizeReplay(std::string_view head, std::string_view tail) {
  ReplaySummary summary;
  if (head.find('\0') != std::string_view::npos || tail.find('\0') != std::string_view::npos) {
    summary.damaged = true;
    return summary;
  }
  bool ship = false;
  // Line by line up to the first event: the events after it are never looked at.
  for (std::size_t end = head.find('\n'); end != std::string_view::npos; end = head.find('\n')) {
    std::string_view line = head.substr(0, end);
    head.remove_prefix(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view code = line.substr(0, line.find('#'));
    const std::vector<std::string_view> words = ScriptWords(code);
    if (words.empty()) continue;
    if (IsEventLine(words)) break;
    if (words[0] == "ship") {
      // The rest of the line after one separator, as the game reads it.
      const std::size_t at = line.find("ship") + 4;
      summary.ship = std::string(line.substr(std::min(line.size(), at + 1)));
      ship = true;
    } else if (words[0] == "difficulty" && words.size() == 2) {
      summary.difficulty = ParseDifficulty(words[1]);
    } else if (words[0] == "date" && words.size() == 2 && words[1].size() == 20 &&
               words[1].back() == 'Z') {
      summary.start = TimeOfStamp(words[1]);
    }
  }
  summary.damaged = !ship || !summary.difficulty;
  ReadLastLines(tail, summary);
  return summary;
}

std::optional<std::int64_t> ReplayNameTime(std::string_view name, int* take) {
  // YYYY-MM-DD_HH-MM-SS, then ".txt" or "_N.txt".
  constexpr std::size_t kStamp = 19;
  if (name.size() < kStamp + 4 || name.substr(name.size() - 4) != ".txt") return std::nullopt;
  if (name[4] != '-' || name[7] != '-' || name[10] != '_' || name[13] != '-' || name[16] != '-') {
    return std::nullopt;
  }
  const std::string_view rest = name.substr(kStamp, name.size() - 4 - kStamp);
  int number = 1;
  if (!rest.empty()) {
    const auto parsed = rest.size() >= 2 && rest.size() <= 7 && rest[0] == '_'
                            ? ParseWhole<int>(rest.substr(1))
                            : std::nullopt;
    if (!parsed || *parsed < 2 || rest[1] == '+') return std::nullopt;
    number = *parsed;
  }
  const auto time = TimeOfStamp(name.substr(0, kStamp));
  if (time && take != nullptr) *take = number;
  return time;
}

namespace {

// Up to `most` bytes of the open file from `offset`; "" when it cannot be read there.
std::string ReadAt(int fd, std::int64_t offset, std::size_t most) {
  std::string bytes(most, '\0');
  if (lseek(fd, static_cast<off_t>(offset), SEEK_SET) < 0) return {};
  std::size_t got = 0;
  while (got < most) {
    const auto n = read(fd, bytes.data() + got, static_cast<unsigned>(most - got));
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

ReplaySummary SummarizeReplayFile(const std::filesystem::path& path) {
  ReplaySummary damaged;
  damaged.damaged = true;
  const int fd = OpenInputWithoutWaiting(TextOfPath(path));
  if (fd < 0) return damaged;
  struct stat file {};
  if (fstat(fd, &file) != 0 || !S_ISREG(file.st_mode) ||
      file.st_size > static_cast<off_t>(kMostInputScriptBytes)) {
    close(fd);
    return damaged;  // a folder, a pipe or a device, or more than any recording
  }
  const auto size = static_cast<std::int64_t>(file.st_size);
  const std::string head = ReadAt(fd, 0, kMostReplayHeadBytes);
  const std::int64_t tail_from =
      std::max<std::int64_t>(0, size - static_cast<std::int64_t>(kMostReplayTailBytes));
  std::string tail = ReadAt(fd, tail_from, kMostReplayTailBytes);
  close(fd);
  // A tail that starts inside a line: that line's start is not in it.
  if (tail_from > 0) {
    const std::size_t first_end = tail.find('\n');
    tail.erase(0, first_end == std::string::npos ? tail.size() : first_end + 1);
  }
  ReplaySummary summary = SummarizeReplay(head, tail);
  return summary;
}

}  // namespace

std::vector<ReplayListing> ListReplays(const std::filesystem::path& folder) {
  // The newest names by their start and take, kept to kMostListedReplays while the folder is
  // read, however many files it holds.
  std::map<std::pair<std::int64_t, int>, std::filesystem::path> newest;
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    const std::string name = TextOfPath(entries->path().filename());
    int take = 1;
    const auto time = ReplayNameTime(name, &take);
    if (!time) continue;
    newest[{*time, take}] = entries->path();
    if (newest.size() > kMostListedReplays) newest.erase(newest.begin());
  }
  std::vector<ReplayListing> listings;
  for (auto kept = newest.rbegin(); kept != newest.rend(); ++kept) {
    ReplayListing listing{kept->second, SummarizeReplayFile(kept->second)};
    if (!listing.summary.start) listing.summary.start = kept->first.first;
    listings.push_back(std::move(listing));
  }
  return listings;
}

std::string ReplayListRow(const ReplaySummary& summary, std::int64_t utc_offset) {
  std::string row = "no date         ";
  if (summary.start) {
    const std::int64_t local = *summary.start + utc_offset;
    const std::int64_t days = (local >= 0 ? local : local - 86399) / 86400;
    const std::int64_t within = local - days * 86400;
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    CivilDateOfDay(days, year, month, day);
    const auto two = [](std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    row = std::to_string(year) + "-" + two(month) + "-" + two(day) + " " + two(within / 3600) +
          ":" + two(within / 60 % 60);
  }
  if (summary.damaged) return row + "  damaged";
  std::string level = "?";
  if (summary.difficulty) {
    const float factor = *summary.difficulty;
    level = factor < 0.5f  ? "Very Easy"
            : factor < 5   ? "Easy"
            : factor < 40  ? "Normal"
            : factor < 100 ? "Hard"
                           : "Crazy";
  }
  std::string length = "?";
  if (summary.length) {
    const std::int64_t seconds = *summary.length / kFramesPerSecond;
    length = std::to_string(seconds / 60) + (seconds % 60 < 10 ? ":0" : ":") +
             std::to_string(seconds % 60);
  }
  std::string money = "?";
  if (summary.money_earned) {
    money = (*summary.money_earned > 0 ? "+" : "") + std::to_string(*summary.money_earned);
  }
  return row + "  " + Column(summary.ship, kShipColumn) + "  " + Column(level, kLevelColumn) +
         "  " + Column(length, kLengthColumn, true) + "  " + money;
}

std::int64_t LocalUtcOffset(std::int64_t seconds_since_1970) {
  const auto moment = static_cast<std::time_t>(seconds_since_1970);
  const std::tm* local = std::localtime(&moment);
  if (local == nullptr) return 0;
  const std::int64_t as_utc =
      DaysFromCivil(local->tm_year + std::int64_t{1900}, local->tm_mon + 1, local->tm_mday) *
          86400 +
      local->tm_hour * 3600 + local->tm_min * 60 + local->tm_sec;
  return as_utc - seconds_since_1970;
}

}  // namespace starvane
