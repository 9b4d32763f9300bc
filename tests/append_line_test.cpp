// A line added to a text file is there whole, or not at all and the failure is told.

#include "files/append_line.hpp"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <thread>

#include "tests/support/child_process.hpp"
#include "tests/support/temp_directory.hpp"

namespace starvane {
namespace {

using starvane::testing::TempDirectory;

TEST(AppendLine, AddsALineOfItsOwnAndMakesAMissingFile) {
  TempDirectory dir;
  EXPECT_FALSE(AppendLine(dir.Path(), "list.txt", "Alpha"));
  dir.Write("open.txt", "Alpha");  // the last line without its line end
  EXPECT_FALSE(AppendLine(dir.Path(), "open.txt", "Beta"));
  dir.Write("one.txt", "A");  // one byte, no line end
  EXPECT_FALSE(AppendLine(dir.Path(), "one.txt", "Beta"));
  EXPECT_EQ(dir.Read("list.txt"), "Alpha\r\n");
  EXPECT_EQ(dir.Read("open.txt"), "Alpha\r\nBeta\r\n");
  EXPECT_EQ(dir.Read("one.txt"), "A\r\nBeta\r\n");
  std::filesystem::create_directory(dir.Path() / "folder");
  EXPECT_TRUE(AppendLine(dir.Path(), "folder", "Beta"));
  EXPECT_TRUE(AppendLine(dir.Path(), "../list.txt", "Beta"));
}

#ifndef _WIN32  // fork and file size limits (setrlimit)
TEST(AppendLine, ALineThatDoesNotFitLeavesTheFileAsItWas) {
  TempDirectory dir;
  dir.Write("list.txt", "Alpha");
  // The file may not grow past 8 bytes, as on a disk that fills up during the write.
  EXPECT_EQ(starvane::testing::InChildProcess([&] {
              signal(SIGXFSZ, SIG_IGN);
              const rlimit limit{8, 8};
              if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
              return AppendLine(dir.Path(), "list.txt", "Beta") ? 0 : 1;
            }),
            0);
  EXPECT_EQ(dir.Read("list.txt"), "Alpha");
}
#endif  // _WIN32

#ifndef _WIN32  // flock
// Launchers take turns: while another holds the list's lock (here, to add its own name), an
// append waits, so neither can cut off the other's line.
TEST(AppendLine, WaitsWhileAnotherAppenderHoldsTheList) {
  TempDirectory dir;
  dir.Write("list.txt", "");
  const int other = open((dir.Path() / "list.txt").c_str(), O_WRONLY | O_APPEND);
  ASSERT_EQ(flock(other, LOCK_EX), 0);
  std::thread mine([&dir] { EXPECT_FALSE(AppendLine(dir.Path(), "list.txt", "Mine")); });
  usleep(100'000);  // long enough for an append that does not wait
  EXPECT_EQ(write(other, "Theirs\r\n", 8), 8);
  close(other);
  mine.join();
  EXPECT_EQ(dir.Read("list.txt"), "Theirs\r\nMine\r\n");
}
#endif  // _WIN32

// A line that would start where the list's readers no longer read is refused, not lost.
TEST(AppendLine, ALineBeyondWhatIsReadIsRefused) {
  TempDirectory dir;
  dir.Write("list.txt", "Alpha");
  EXPECT_EQ(AppendLine(dir.Path(), "list.txt", "Beta", 7), std::errc::file_too_large);
  EXPECT_EQ(dir.Read("list.txt"), "Alpha");
  EXPECT_FALSE(AppendLine(dir.Path(), "list.txt", "Beta", 8));
}

}  // namespace
}  // namespace starvane
