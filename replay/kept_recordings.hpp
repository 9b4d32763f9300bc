#pragma once
// The games kept in the replays/ folder of the files directory: one recording for each game
// played with live input, named after the date and time it began, the newest ones kept.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "replay/input_recorder.hpp"

namespace starvane {

constexpr std::string_view kReplaysFolder = "replays";
constexpr std::size_t kMostKeptRecordings = 50;

// The name of the n-th game (from 1) kept for a start at this date ("2026-12-10T13:40:05Z"):
// "2026-12-10_13-40-05.txt", then "2026-12-10_13-40-05_2.txt", ...
std::string KeptRecordingName(std::string_view date, int n);

// Whether the name is one KeptRecordingName gives: only those are ever removed.
bool IsKeptRecordingName(std::string_view name);

// A new recording in the replays folder of files_directory (made when missing) under the first
// name of the date that no file has, with the header written; a file is never replaced. Then
// the oldest kept recordings beyond kMostKeptRecordings are removed. Nothing, with the reason
// in why, when it cannot be made.
std::unique_ptr<InputRecorder> CreateKeptRecording(const std::filesystem::path& files_directory,
                                                   std::string_view date, const std::string& header,
                                                   std::string& why);

// Removes all but the newest `kept` recordings of that folder (the latest dates; of one date,
// the highest numbers); files of other names are left alone.
void RemoveOldKeptRecordings(const std::filesystem::path& replays, std::size_t kept);

}  // namespace starvane
