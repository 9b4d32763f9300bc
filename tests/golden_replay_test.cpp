// Golden replays: recorded games that must play the same way for ever. Each folder under
// tests/golden/ holds one game:
//   script.txt        the input script, with its seed, difficulty and ship (or `launcher`)
//   files/            (optional) the files directory the game starts with: ships.txt, ship files
//   expected/dump.json  the state summary at the end, the last frame's hash included, written
//                     one field (and one body) per line so that its diff can be read
//   expected/files/   every file of the files directory at the end, byte for byte
// The starvane binary plays each script headless; any difference in the world, the money, the
// frame drawn or a file written fails the test. When a change is meant to alter the game, run
// tools/golden-update, look at what changed and commit the new expectations with the change.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "files/ship_lock.hpp"
#include "tests/support/json_lines.hpp"
#include "tests/support/run_program.hpp"
#include "tests/support/temp_directory.hpp"

namespace starvane {
namespace {

namespace fs = std::filesystem;
using starvane::testing::JsonDifferences;
using starvane::testing::JsonLines;
using starvane::testing::RunStarvaneBinary;
using starvane::testing::TempDirectory;

const fs::path kGoldenRoot = fs::path(STARVANE_SOURCE_DIR) / "tests" / "golden";

std::vector<std::string> GoldenReplays() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kGoldenRoot)) {
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// The files of a directory (not its subdirectories) by name, with their bytes. The empty lock
// file that keeps two games off one ship is no game data, and is left out.
std::map<std::string, std::string> FilesIn(const fs::path& directory) {
  std::map<std::string, std::string> files;
  if (!fs::is_directory(directory)) return files;
  for (const auto& entry : fs::directory_iterator(directory)) {
    if (entry.path().filename() == starvane::kShipLockFileName) continue;
    if (entry.is_regular_file()) files[entry.path().filename().string()] = ReadBytes(entry.path());
  }
  return files;
}

// Where two texts first differ, with a little of each around it.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  const auto mismatch =
      std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
  const std::size_t at = std::size_t(mismatch.first - expected.begin());
  const std::size_t from = at < 60 ? 0 : at - 60;
  return "first difference at byte " + std::to_string(at) + "\n  expected: ..." +
         expected.substr(from, 160) + "\n  actual:   ..." + actual.substr(from, 160);
}

class GoldenReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenReplay, PlaysTheSameGameAsRecorded) {
  const fs::path folder = kGoldenRoot / GetParam();
  TempDirectory run;
  const fs::path files = run.Path() / "files";
  fs::create_directory(files);
  if (fs::is_directory(folder / "files")) fs::copy(folder / "files", files);

  const auto result = RunStarvaneBinary("--headless --files '" + files.string() + "' --input '" +
                                        (folder / "script.txt").string() + "' --dump -");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string dump_lines = JsonLines(result.out);
  const auto files_after = FilesIn(files);

  const fs::path expected = folder / "expected";
  if (std::getenv("STARVANE_UPDATE_GOLDEN") != nullptr) {
    fs::remove_all(expected);
    fs::create_directories(expected / "files");
    WriteBytes(expected / "dump.json", dump_lines);
    for (const auto& [name, bytes] : files_after) WriteBytes(expected / "files" / name, bytes);
    GTEST_SKIP() << "expectations written to " << expected;
  }

  const std::string dump = ReadBytes(expected / "dump.json");
  ASSERT_FALSE(dump.empty()) << "no expectations yet: run tools/golden-update";
  EXPECT_TRUE(dump_lines == dump) << "the state summary differs:\n"
                                  << JsonDifferences(dump, dump_lines);

  const auto files_expected = FilesIn(expected / "files");
  for (const auto& [name, bytes] : files_expected) {
    const auto found = files_after.find(name);
    if (found == files_after.end()) {
      ADD_FAILURE() << name << " was not written";
    } else {
      EXPECT_TRUE(found->second == bytes) << name << ": " << FirstDifference(bytes, found->second);
    }
  }
  for (const auto& [name, bytes] : files_after) {
    EXPECT_EQ(files_expected.count(name), 1u) << "a file that was not expected: " << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Replays, GoldenReplay, ::testing::ValuesIn(GoldenReplays()),
                         [](const auto& replay) { return replay.param; });

}  // namespace
}  // namespace starvane
