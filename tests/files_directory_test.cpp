#include "files/files_directory.hpp"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <fstream>
#include <string>
#include <string_view>

#include "files/path_text.hpp"
#include "tests/support/child_process.hpp"
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
      [&program](const fs::path& p) { return p != program; }, SystemRules::Posix);
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

// Where the program's folder cannot be written (Program Files), Windows keeps a player's files
// in %APPDATA%\\Starvane, and the game says so; without APPDATA it says that nothing can be saved.
TEST(FilesDirectory, OnWindowsTheFallbackIsTheApplicationDataFolder) {
  TempDirectory dir;
  const fs::path program = dir.Path() / "bin";
  const std::string app_data = TextOfPath(dir.Path() / "Roaming");
  const std::string home = TextOfPath(dir.Path() / "home");
  const char* app_data_value = app_data.c_str();
  const auto environment = [&](const char* name) -> const char* {
    const std::string_view asked(name);
    return asked == "APPDATA" ? app_data_value : asked == "HOME" ? home.c_str() : nullptr;
  };
  const auto readonly = [&program](const fs::path& p) { return p != program; };
  auto choice = DefaultFilesDirectory(program, environment, readonly, SystemRules::Windows);
  EXPECT_EQ(choice.directory, dir.Path() / "Roaming" / "Starvane");
  EXPECT_TRUE(fs::is_directory(choice.directory));
  EXPECT_NE(choice.notice.find(TextOfPath(choice.directory)), std::string::npos) << choice.notice;
  for (const char* unusable : {static_cast<const char*>(nullptr), "Roaming"}) {
    app_data_value = unusable;
    choice = DefaultFilesDirectory(program, environment, readonly, SystemRules::Windows);
    EXPECT_EQ(choice.directory, program);
    EXPECT_NE(choice.notice.find("APPDATA is not set, so ships cannot be saved"), std::string::npos)
        << choice.notice;
  }
}

#ifndef _WIN32  // symbolic links, fork and file size limits
// Only what the game would read is copied: no file behind a link, none larger than the game
// reads. Each copy is whole or not there: a full disk leaves no stump to be flown as a new
// ship, and the next start copies the file.
TEST(FilesDirectory, TheCopyTakesOnlyFilesTheGameReadsAndEachWhole) {
  TempDirectory dir;
  const fs::path program = dir.Path() / "bin";
  const fs::path data = dir.Path() / "data";
  fs::create_directory(program);
  fs::create_directory(data);
  Put(dir.Path() / "secret", "not a ship");
  fs::create_symlink(dir.Path() / "secret", program / "Link.shp");
  Put(program / "Huge.shp", std::string(64 * 1024 + 1, '1'));
  Put(program / "Nova.shp", "nova");
  EXPECT_EQ(CopyMissingShipFiles(program, data), 1);
  const std::string vega(1000, 'v');
  Put(program / "Vega.shp", vega);
  EXPECT_EQ(starvane::testing::InChildProcess([&] {
              signal(SIGXFSZ, SIG_IGN);
              const rlimit limit{500, 500};
              if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
              return CopyMissingShipFiles(program, data);
            }),
            0);
  EXPECT_EQ(std::distance(fs::directory_iterator(data), {}), 1);  // Nova.shp alone
  EXPECT_EQ(CopyMissingShipFiles(program, data), 1);
  EXPECT_EQ(Get(data / "Vega.shp"), vega);
}
#endif  // _WIN32

}  // namespace
}  // namespace starvane
