#include "files/files_directory.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/support/temp_directory.hpp"

namespace starvane {
namespace {

namespace fs = std::filesystem;
using testing::TempDirectory;

void Put(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Get(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A player whose program directory became read-only still finds the ships kept next to it: each
// is copied into the data directory when it lacks it, and a newer one there is never overwritten.
TEST(FilesDirectory, TheFallbackBringsThePlayersShipsAlongWithoutOverwriting) {
  TempDirectory dir;
  const fs::path program = dir.Path() / "bin";
  const fs::path data = dir.Path() / "starvane";   // $XDG_DATA_HOME/starvane
  fs::create_directories(program / "folder.shp");  // not a file: left alone
  fs::create_directory(data);
  Put(program / "ships.txt", "Nova\r\nVega\r\n");
  Put(program / "Nova.shp", "old nova");
  Put(program / "Vega.shp", "vega");
  Put(program / "starvane", "the program itself");
  Put(data / "Nova.shp", "newer nova");

  const std::string xdg = dir.Path().string();
  const auto choice = DefaultFilesDirectory(
      program,
      [&xdg](const char* name) {
        return std::string(name) == "XDG_DATA_HOME" ? xdg.c_str() : nullptr;
      },
      [&program](const fs::path& p) { return p != program; });
  ASSERT_EQ(choice.directory, data);
  EXPECT_NE(choice.notice.find("(2 files copied there"), std::string::npos) << choice.notice;
  EXPECT_EQ(Get(data / "Nova.shp"), "newer nova");
  EXPECT_EQ(Get(data / "Vega.shp"), "vega");
  EXPECT_EQ(Get(data / "ships.txt"), "Nova\r\nVega\r\n");
  EXPECT_FALSE(fs::exists(data / "starvane"));
  EXPECT_TRUE(fs::is_directory(program / "folder.shp"));
  EXPECT_FALSE(fs::exists(data / "folder.shp"));
  // Once there, nothing is copied again.
  EXPECT_EQ(CopyMissingShipFiles(program, data), 0);
}

}  // namespace
}  // namespace starvane
