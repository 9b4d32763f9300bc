#include "replay/kept_recordings.hpp"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "files/output_file.hpp"
#include "files/path_text.hpp"

namespace starvane {
namespace {

constexpr std::string_view kSuffix = ".txt";
constexpr std::string_view kDatePattern = "DDDD-DD-DD_DD-DD-DD";  // D: a digit

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A kept recording's place in time: its date and its number of that date; nothing for a name of
// another pattern.
std::optional<std::pair<std::string, int>> KeptOrder(std::string_view name) {
  if (!name.ends_with(kSuffix) || name.size() < kDatePattern.size() + kSuffix.size()) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < kDatePattern.size(); ++i) {
    if (kDatePattern[i] == 'D' ? !IsDigit(name[i]) : name[i] != kDatePattern[i]) {
      return std::nullopt;
    }
  }
  std::string_view number =
      name.substr(kDatePattern.size(), name.size() - kDatePattern.size() - kSuffix.size());
  if (number.empty()) return std::pair{std::string(name.substr(0, kDatePattern.size())), 1};
  // "_N": N from 2 on, without leading zeros, of at most six digits.
  if (number.size() < 2 || number.size() > 7 || number[0] != '_' || number[1] == '0' ||
      !std::all_of(number.begin() + 1, number.end(), IsDigit)) {
    return std::nullopt;
  }
  const int n = std::stoi(std::string(number.substr(1)));
  if (n < 2) return std::nullopt;
  return std::pair{std::string(name.substr(0, kDatePattern.size())), n};
}

}  // namespace

std::string KeptRecordingName(std::string_view date, int n) {
  // "2026-12-10T13:40:05Z" -> "2026-12-10_13-40-05": no ':' in names, which Windows refuses.
  std::string name(date.substr(0, kDatePattern.size()));
  std::replace(name.begin(), name.end(), 'T', '_');
  std::replace(name.begin(), name.end(), ':', '-');
  if (n > 1) name += "_" + std::to_string(n);
  return name + std::string(kSuffix);
}

bool IsKeptRecordingName(std::string_view name) {
  return KeptOrder(name).has_value();
}

std::unique_ptr<InputRecorder> CreateKeptRecording(const std::filesystem::path& files_directory,
                                                   std::string_view date, const std::string& header,
                                                   std::string& why) {
  const std::filesystem::path replays = files_directory / std::string(kReplaysFolder);
  std::error_code error;
  std::filesystem::create_directories(replays, error);
  if (error) {
    why = error.message();
    return nullptr;
  }
  // The first free name: O_EXCL makes the file only where none is, even against another game
  // starting in the same second.
  for (int n = 1; n <= 1000; ++n) {
    auto recorder =
        InputRecorder::Create(replays / PathOfText(KeptRecordingName(date, n)), header, O_EXCL);
    if (recorder) {
      RemoveOldKeptRecordings(replays, kMostKeptRecordings);
      return recorder;
    }
    if (errno != EEXIST) {
      why = OutputErrorText(errno);
      return nullptr;
    }
  }
  why = "every name of this second is taken";
  return nullptr;
}

void RemoveOldKeptRecordings(const std::filesystem::path& replays, std::size_t kept) {
  std::vector<std::pair<std::pair<std::string, int>, std::filesystem::path>> found;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(replays, error), end; !error && entry != end;
       entry.increment(error)) {
    if (const auto order = KeptOrder(TextOfPath(entry->path().filename()))) {
      found.emplace_back(*order, entry->path());
    }
  }
  if (found.size() <= kept) return;
  std::sort(found.begin(), found.end());
  for (std::size_t i = 0; i + kept < found.size(); ++i) {
    std::filesystem::remove(found[i].second, error);  // one that cannot go stays: no harm
  }
}

}  // namespace starvane
