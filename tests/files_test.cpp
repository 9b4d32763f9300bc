#include "files/files.hpp"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "files/atomic_write.hpp"
#include "files/path_text.hpp"
#include "tests/support/temp_directory.hpp"

namespace starvane {
namespace {

using starvane::testing::TempDirectory;

// Names are UTF-8 text in the game, whatever the system's paths are beneath (UTF-16 on
// Windows): a file made under a UTF-8 name is listed under that name, and opens by it.
TEST(Files, Utf8NamesNameTheSameFileOnEverySystem) {
  TempDirectory dir;
  for (const std::string name : {"N\xC3\xB6va.shp", "\xC3\x98re \xF0\x9F\x9A\x80.shp"}) {
    EXPECT_EQ(TextOfPath(PathOfText(name)), name);
    std::string why;
    ASSERT_TRUE(WriteFileAtomically(dir.Path() / PathOfText(name), "7\r\n", why)) << why;
    FileTable files(dir.Path());
    ASSERT_NE(files.ReadFile(0, name), 0) << name;
    EXPECT_EQ(files.ReadLine(), "7");
  }
  std::vector<std::string> listed;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    listed.push_back(TextOfPath(entry.path().filename()));
  }
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed,
            (std::vector<std::string>{"N\xC3\xB6va.shp", "\xC3\x98re \xF0\x9F\x9A\x80.shp"}));
#ifdef _WIN32
  EXPECT_EQ(PathOfText("N\xC3\xB6va").native(), L"N\u00F6va");
#endif
}

TEST(Files, OpenFileCreatesWithoutTruncating) {
  TempDirectory dir;
  FileTable files(dir.Path());
  ASSERT_NE(files.OpenFile(0, "a.shp"), 0);
  files.CloseFile(0);
  EXPECT_EQ(dir.Read("a.shp"), "");
  dir.Write("a.shp", "100\r\n-0.2\r\n");
  ASSERT_NE(files.OpenFile(0, "a.shp"), 0);
  EXPECT_EQ(files.ReadLine(), "100");
  files.CloseFile(0);
  EXPECT_EQ(dir.Read("a.shp"), "100\r\n-0.2\r\n");
}

TEST(Files, LinesEndAtLfCrLfCrAZeroByteOrTheEnd) {
  TempDirectory dir;
  dir.Write("lines", std::string("crlf\r\nlf\nlone\rcr\nzero\0rest\nlast", 32));
  FileTable files(dir.Path());
  ASSERT_NE(files.ReadFile(3, "lines"), 0);
  EXPECT_EQ(files.Eof(3), 0);
  EXPECT_EQ(files.ReadLine(), "crlf");
  EXPECT_EQ(files.ReadLine(), "lf");
  EXPECT_EQ(files.ReadLine(), "lone");
  EXPECT_EQ(files.ReadLine(), "cr");
  EXPECT_EQ(files.ReadLine(), "zero");
  EXPECT_EQ(files.ReadLine(), "rest");
  EXPECT_EQ(files.Eof(3), 0);
  EXPECT_EQ(files.ReadLine(), "last");
  EXPECT_NE(files.Eof(3), 0);
  EXPECT_EQ(files.ReadLine(), "");  // past the end: empty lines
  files.CloseFile(3);
  EXPECT_EQ(files.ReadLine(), "");  // no current file
  EXPECT_NE(files.Eof(3), 0);
}

TEST(Files, MissingFilesAndUnsafeNamesAreRefused) {
  TempDirectory dir;
  FileTable files(dir.Path());
  EXPECT_EQ(files.ReadFile(0, "absent.shp"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "absent.shp"));
  for (const char* name : {"", ".", "..", "../x.shp", "sub/x.shp", "x\\y.shp"}) {
    EXPECT_EQ(files.OpenFile(0, name), 0) << name;
  }
  EXPECT_EQ(files.OpenFile(0, std::string_view("a\0b", 3)), 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  EXPECT_NE(files.OpenFile(0, ".shp"), 0);  // an empty ship name still names a plain file
}

TEST(Files, TheMostRecentlyOpenedFileIsCurrent) {
  TempDirectory dir;
  dir.Write("first", "f1\nf2\n");
  dir.Write("second", "s1\n");
  FileTable files(dir.Path());
  ASSERT_NE(files.ReadFile(0, "first"), 0);
  ASSERT_NE(files.ReadFile(1, "second"), 0);
  EXPECT_EQ(files.ReadLine(), "s1");
  files.CloseFile(0);
  EXPECT_EQ(files.ReadLine(), "");  // still slot 1, now at its end
  EXPECT_TRUE(ProgramDirectory().is_absolute());
}

#ifndef _WIN32  // FIFOs and symbolic links
// A FIFO, a device or a directory never makes the game wait or read for ever: it is refused at
// once, and the reason reads well in any message.
TEST(Files, OnlyRegularFilesOpenAndNothingWaits) {
  TempDirectory dir;
  const std::filesystem::path fifo = dir.Path() / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  FileTable files(dir.Path());
  {
    // While a writer holds the FIFO open and it holds a line, nothing would block even if it
    // were taken for a file: it must be refused all the same.
    const int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, "line\n", 5), 5);
    const int read_only = files.ReadFile(0, "pipe");
    const int read_write = files.OpenFile(1, "pipe");
    ::close(writer);
    ASSERT_EQ(read_only, 0);
    ASSERT_EQ(read_write, 0);
    EXPECT_EQ(files.LastOpenError(), NotARegularFile());
    EXPECT_EQ(files.LastOpenError().message(), "not a regular file");
  }
  // Without a writer, opening it for reading would wait for one.
  EXPECT_EQ(files.ReadFile(0, "pipe"), 0);
  EXPECT_EQ(files.LastOpenError(), NotARegularFile());

  std::filesystem::create_directory(dir.Path() / "folder");
  EXPECT_EQ(files.ReadFile(0, "folder"), 0);
  EXPECT_EQ(files.LastOpenError(), NotARegularFile());
  EXPECT_EQ(files.OpenFile(0, "folder"), 0);
  EXPECT_EQ(files.LastOpenError(), std::errc::is_a_directory);

  FileTable devices("/dev");
  EXPECT_EQ(devices.ReadFile(0, "null"), 0);
  EXPECT_EQ(devices.LastOpenError(), NotARegularFile());
  EXPECT_EQ(devices.OpenFile(0, "zero"), 0);
  EXPECT_EQ(devices.LastOpenError(), NotARegularFile());
  EXPECT_EQ(files.ReadLine(), "");  // nothing became current

  // A link to a regular file is that file.
  dir.Write("real", "through the link\n");
  std::filesystem::create_symlink("real", dir.Path() / "link");
  ASSERT_NE(files.ReadFile(0, "link"), 0);
  EXPECT_EQ(files.ReadLine(), "through the link");
  files.CloseFile(0);
}
#endif  // _WIN32

TEST(Files, AByteLimitRefusesALargerFileOnly) {
  TempDirectory dir;
  dir.Write("four", "123\n");
  FileTable files(dir.Path());
  ASSERT_NE(files.ReadFile(0, "four", 4), 0);
  EXPECT_EQ(files.ReadLine(), "123");
  EXPECT_EQ(files.ReadFile(0, "four", 3), 0);
  EXPECT_EQ(files.LastOpenError(), std::errc::file_too_large);
  EXPECT_EQ(files.ReadLine(), "");
  ASSERT_NE(files.ReadFile(0, "four"), 0);  // no limit
}

}  // namespace
}  // namespace starvane
