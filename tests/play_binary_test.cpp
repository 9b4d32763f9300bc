// The starvane binary as players and scripts use it: headless runs with input scripts,
// screenshots, recordings and their replays, and the real window under Xvfb.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "run_program.hpp"
#include "temp_directory.hpp"

namespace starvane {
namespace {

using starvane::testing::RunStarvaneBinary;
using starvane::testing::TempDirectory;

std::string In(const TempDirectory& dir, const std::string& name) {
  return "'" + (dir.Path() / name).string() + "'";
}

TEST(PlayBinary, EscapeAtFrameThreeEndsAfterFourFramesWithTheSameResultEveryTime) {
  TempDirectory dir;
  dir.Write("esc.txt", "# Escape goes down at frame 3\n3 down Escape\n");
  std::string first_dump;
  std::string first_shot;
  for (int run = 0; run < 2; ++run) {
    const auto result =
        RunStarvaneBinary("--headless --seed 3 --files " + In(dir, "") + " --input " +
                          In(dir, "esc.txt") + " --screenshot " + In(dir, "s.bmp") + " --dump -");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("{\"frame\": 4, \"seed\": 3,", 0), 0u) << result.out;
    const std::string shot = dir.Read("s.bmp");
    EXPECT_EQ(shot.size(), 54u + 800u * 600u * 3u);
    if (run == 0) {
      first_dump = result.out;
      first_shot = shot;
    } else {
      EXPECT_EQ(result.out, first_dump);
      EXPECT_EQ(shot, first_shot);
    }
  }
}

TEST(PlayBinary, ARecordingReplaysToTheSameGame) {
  TempDirectory dir;
  dir.Write("play.txt",
            "0 down Up\n2 mouse 5 5\n2 press\n4 up Up\n4 down Space LeftControl\n5 release\n"
            "9 down Escape\n");
  const auto recorded =
      RunStarvaneBinary("--headless --seed 11 --difficulty hard --ship Rec --files " + In(dir, "") +
                        " --input " + In(dir, "play.txt") + " --record " + In(dir, "rec.txt") +
                        " --screenshot " + In(dir, "a.bmp") + " --dump " + In(dir, "a.json"));
  ASSERT_EQ(recorded.status, 0) << recorded.err;
  const std::string recording = dir.Read("rec.txt");
  EXPECT_NE(recording.find("seed 11\ndifficulty 70\nship Rec\n"), std::string::npos) << recording;
  EXPECT_NE(recording.find("0 down Up\n"), std::string::npos) << recording;
  EXPECT_NE(recording.find("9 down Escape\n"), std::string::npos) << recording;

  // The recording alone carries the seed, difficulty and ship.
  const auto replayed =
      RunStarvaneBinary("--headless --files " + In(dir, "") + " --input " + In(dir, "rec.txt") +
                        " --screenshot " + In(dir, "b.bmp") + " --dump " + In(dir, "b.json"));
  ASSERT_EQ(replayed.status, 0) << replayed.err;
  EXPECT_EQ(dir.Read("a.json"), dir.Read("b.json"));
  EXPECT_EQ(dir.Read("a.bmp"), dir.Read("b.bmp"));
  EXPECT_NE(dir.Read("b.json").find("\"frame\": 10, \"seed\": 11, \"difficulty\": 70, "
                                    "\"shipName\": \"Rec\""),
            std::string::npos);
}

TEST(PlayBinary, ABadInputScriptNamesItsFileAndLine) {
  TempDirectory dir;
  dir.Write("bad.txt", "0 down Up\n1 down Hyperspace\n");
  const auto result = RunStarvaneBinary("--headless --input " + In(dir, "bad.txt"));
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "starvane: " + (dir.Path() / "bad.txt").string() +
                            ":2: unknown key 'Hyperspace' (a key name or a code 0..255)\n");
  const auto missing = RunStarvaneBinary("--headless --input " + In(dir, "none.txt"));
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("cannot read the input script"), std::string::npos);
}

TEST(PlayBinary, FramesEndTheGameAndOutputsThatCannotBeWrittenFail) {
  const auto result = RunStarvaneBinary("--headless --frames 25 --dump -");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.rfind("{\"frame\": 25,", 0), 0u);
  const auto shot = RunStarvaneBinary("--headless --frames 1 --screenshot /no/such/dir/s.bmp");
  EXPECT_EQ(shot.status, 1);
  EXPECT_NE(shot.err.find("cannot write the screenshot"), std::string::npos);
  const auto record = RunStarvaneBinary("--headless --frames 1 --record /no/such/dir/r.txt");
  EXPECT_EQ(record.status, 1);
  EXPECT_NE(record.err.find("cannot write the recording"), std::string::npos);
}

TEST(PlayBinary, SigtermAndSigintEndTheGameLikeEscape) {
  for (const char* signal : {"TERM", "INT"}) {
    TempDirectory dir;
    dir.Write("idle.txt", "0 down Up\n");
    const std::string command = std::string("sh -c \"'") + STARVANE_BINARY +
                                "' --headless --input " + In(dir, "idle.txt") + " --dump " +
                                In(dir, "end.json") + " & pid=\\$!; sleep 1; kill -" + signal +
                                " \\$pid; wait \\$pid\" >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << signal;
    const std::string dump = dir.Read("end.json");
    EXPECT_EQ(dump.rfind("{\"frame\": ", 0), 0u) << signal << ": " << dump;
    EXPECT_EQ(dump.rfind("{\"frame\": 0,", 0), std::string::npos) << dump;
  }
}

TEST(PlayBinary, WithoutADisplayItSuggestsHeadless) {
  const auto result = RunStarvaneBinary("--frames 1", "env -u DISPLAY -u WAYLAND_DISPLAY");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("no display available"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("--headless"), std::string::npos);
}

TEST(PlayBinary, TheRealWindowPresentsFramesAndEndsOnEscape) {
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "xvfb-run is not installed";
  }
  TempDirectory dir;
  dir.Write("esc.txt", "20 down Escape\n");
  // The display libraries under SDL keep a few allocations until exit; they are not ours.
  const auto result = RunStarvaneBinary(
      "--window --seed 5 --files " + In(dir, "") + " --input " + In(dir, "esc.txt") + " --dump -",
      "ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s '-screen 0 1024x768x24'");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.rfind("{\"frame\": 21, \"seed\": 5,", 0), 0u) << result.out << result.err;
}

}  // namespace
}  // namespace starvane
