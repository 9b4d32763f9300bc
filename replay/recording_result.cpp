#include "replay/recording_result.hpp"

#include <cstdio>

#include "base/text_numbers.hpp"
#include "base/text_quoting.hpp"

namespace starvane {
namespace {

constexpr std::array<std::string_view, 11> kNames{
    "frames",    "moneyStart", "moneyEnd",     "bigRocks", "rocks",    "littleRocks",
    "fragments", "crafts",     "glimmerhexes", "deaths",   "frameHash"};

// The whole numbers of the line, in its order (all but the hash).
std::array<std::int64_t*, 10> Numbers(RecordingResult& r) {
  return {&r.frames,   &r.money_start, &r.money_end, &r.kills[0], &r.kills[1],
          &r.kills[2], &r.kills[3],    &r.kills[4],  &r.kills[5], &r.deaths};
}

std::string HashText(std::uint64_t hash) {
  char text[24];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::optional<std::uint64_t> ParseHash(std::string_view text) {
  if (text.size() != 16) return std::nullopt;
  std::uint64_t hash = 0;
  for (char c : text) {
    const bool digit = c >= '0' && c <= '9';
    if (!digit && !(c >= 'a' && c <= 'f')) return std::nullopt;
    hash = hash << 4 | static_cast<std::uint64_t>(digit ? c - '0' : c - 'a' + 10);
  }
  return hash;
}

}  // namespace

const std::array<std::string_view, 11>& ResultNames() {
  return kNames;
}

std::string ResultLine(const RecordingResult& result) {
  RecordingResult copy = result;
  const auto numbers = Numbers(copy);
  std::string line = "result";
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    line += " " + std::string(kNames[i]) + " " + std::to_string(*numbers[i]);
  }
  return line + " frameHash " + HashText(result.frame_hash) + "\n";
}

std::optional<std::string> ParseResultWords(const std::vector<std::string_view>& words,
                                            RecordingResult& result) {
  if (words.size() != 2 * kNames.size()) {
    return "'result' needs its " + std::to_string(kNames.size()) +
           " names, each with its value, from frames to frameHash";
  }
  const auto numbers = Numbers(result);
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    const std::string_view name = words[2 * i];
    const std::string_view value = words[2 * i + 1];
    if (name != kNames[i]) {
      return "'result' names " + std::string(kNames[i]) + " where it has " + Quoted(name);
    }
    if (i == numbers.size()) {
      const auto hash = ParseHash(value);
      if (!hash) return "the frameHash " + Quoted(value) + " is not 16 lowercase hex digits";
      result.frame_hash = *hash;
      continue;
    }
    const auto number = ParseWhole<std::int64_t>(value);
    if (!number || *number < 0) {
      return "the " + std::string(name) + " " + Quoted(value) +
             " is not a whole number of 0 or more";
    }
    *numbers[i] = *number;
  }
  return {};
}

std::string FirstDifference(const RecordingResult& claimed, const RecordingResult& replayed) {
  RecordingResult a = claimed;
  RecordingResult b = replayed;
  const auto mine = Numbers(a);
  const auto theirs = Numbers(b);
  const auto differs = [](std::string_view name, const std::string& claimed_value,
                          const std::string& replayed_value) {
    return std::string(name) + ": the recording claims " + claimed_value + ", its replay gives " +
           replayed_value;
  };
  for (std::size_t i = 0; i < mine.size(); ++i) {
    if (*mine[i] != *theirs[i]) {
      return differs(kNames[i], std::to_string(*mine[i]), std::to_string(*theirs[i]));
    }
  }
  if (a.frame_hash == b.frame_hash) return "";
  return differs(kNames.back(), HashText(a.frame_hash), HashText(b.frame_hash));
}

std::string ResultJson(const RecordingResult& r, bool verified, std::string_view difference) {
  const auto n = [](std::int64_t value) { return std::to_string(value); };
  std::string json = "{\"frames\": " + n(r.frames) + ", \"moneyStart\": " + n(r.money_start) +
                     ", \"moneyEnd\": " + n(r.money_end) + ", \"kills\": {";
  for (std::size_t i = 0; i < r.kills.size(); ++i) {
    json += (i == 0 ? "\"" : ", \"") + std::string(kNames[3 + i]) + "\": " + n(r.kills[i]);
  }
  json += "}, \"deaths\": " + n(r.deaths) + ", \"frameHash\": \"" + HashText(r.frame_hash) +
          "\", \"verified\": " + (verified ? "true" : "false");
  if (!verified) {
    // The difference is a field's name or a sentence of plain ASCII: no character needs escaping.
    json += ", \"difference\": \"" + std::string(difference) + "\"";
  }
  return json + "}\n";
}

}  // namespace starvane
