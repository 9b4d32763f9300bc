// The starvane binary as players and scripts use it: headless runs with input scripts,
// screenshots, recordings and their replays, and the real window under Xvfb.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "files/output_file.hpp"
#include "replay/base64.hpp"
#include "replay/rules_generation.hpp"
#include "tests/support/child_process.hpp"
#include "tests/support/run_program.hpp"
#include "tests/support/ship_file_bytes.hpp"
#include "tests/support/temp_directory.hpp"
#include "workshop/ship_file_fields.hpp"

namespace starvane {
namespace {

using starvane::testing::InChildProcess;
using starvane::testing::RunStarvaneBinary;
using starvane::testing::ShipFileWith;
using starvane::testing::TempDirectory;

using starvane::testing::In;

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
  const std::string generation = "generation " + std::to_string(kRulesGeneration) + "\n";
  EXPECT_NE(recording.find(generation + "seed 11\ndifficulty 70\nship Rec\n"), std::string::npos)
      << recording;
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

TEST(PlayBinary, AGameBegunInTheLauncherReplaysThroughIt) {
  TempDirectory dir;
  dir.Write("ships.txt", "Alpha\r\nBeta\r\n");
  // Open the list, choose Beta, start on Hard, thrust a while.
  dir.Write("play.txt",
            "launcher\n2 pointer 200 110\n3 press\n4 release\n6 pointer 200 142\n7 press\n"
            "8 release\n10 pointer 215 65\n11 press\n12 release\n14 down Up\n30 end frames\n");
  const auto recorded = RunStarvaneBinary("--headless --seed 4 --files " + In(dir, "") +
                                          " --input " + In(dir, "play.txt") + " --record " +
                                          In(dir, "rec.txt") + " --dump " + In(dir, "a.json"));
  ASSERT_EQ(recorded.status, 0) << recorded.err;
  // The recording says it began in the launcher, and names neither ship nor difficulty.
  const std::string generation = "\ngeneration " + std::to_string(kRulesGeneration) + "\n";
  EXPECT_NE(dir.Read("rec.txt").find(generation + "seed 4\nlauncher\n2 pointer 200 110\n"),
            std::string::npos)
      << dir.Read("rec.txt");
  EXPECT_NE(dir.Read("a.json").find("\"difficulty\": 70, \"shipName\": \"Beta\""),
            std::string::npos)
      << dir.Read("a.json");

  const auto replayed = RunStarvaneBinary("--headless --files " + In(dir, "") + " --input " +
                                          In(dir, "rec.txt") + " --dump " + In(dir, "b.json"));
  ASSERT_EQ(replayed.status, 0) << replayed.err;
  EXPECT_EQ(dir.Read("a.json"), dir.Read("b.json"));
}

TEST(PlayBinary, APlayerFliesUpFiringAndTeleportsHome) {
  TempDirectory dir;
  // Thrust and fire for 40 frames, then hold T until the ship jumps home in the 99th frame of
  // holding it, the last frame of the game.
  dir.Write("fly.txt", "0 down Up Space\n40 up Up Space\n40 down T\n138 down Escape\n");
  const auto result = RunStarvaneBinary("--headless --seed 9 --files " + In(dir, "") + " --input " +
                                        In(dir, "fly.txt") + " --dump -");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string& dump = result.out;
  // The teleport has put the ship at rest above the home planet, with a grey flash.
  EXPECT_NE(dump.find("\"ship\": {\"x\": -3000, \"y\": -3420, \"speedX\": 0, \"speedY\": 0,"),
            std::string::npos)
      << dump.substr(0, 900);
  EXPECT_NE(dump.find("\"background\": [100, 100, 100]"), std::string::npos);
  EXPECT_NE(dump.find("\"teleportCharge\": 0,"), std::string::npos);
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

TEST(PlayBinary, ALinkFromLinkPlaysTheGameOfItsFileAndABadOneIsRefused) {
  TempDirectory dir;
  dir.Write("play.txt",
            "seed 9\ndifficulty hard\nship Linky\n0 down Up Space\n40 up Up\n60 down Escape\n");
  const auto made = RunStarvaneBinary("--link " + In(dir, "play.txt") + " --site https://x.org/p/");
  ASSERT_EQ(made.status, 0) << made.err;
  ASSERT_EQ(made.out.rfind("https://x.org/p/#r=", 0), 0u) << made.out;
  const std::string link = made.out.substr(0, made.out.size() - 1);
  const auto from_file =
      RunStarvaneBinary("--headless --input " + In(dir, "play.txt") + " --dump -");
  const auto from_link = RunStarvaneBinary("--headless --input '" + link + "' --dump -");
  EXPECT_EQ(from_link.status, 0) << from_link.err;
  EXPECT_EQ(from_link.out, from_file.out);
  // A link must play: no --site, a file that is no input script, a damaged link.
  dir.Write("notes.txt", "shopping list\n");
  const auto no_site = RunStarvaneBinary("--link " + In(dir, "play.txt"));
  const auto no_script = RunStarvaneBinary("--link " + In(dir, "notes.txt") + " --site x");
  const auto damaged =
      RunStarvaneBinary("--headless --input '" + link.substr(0, link.size() - 4) + "'");
  EXPECT_EQ(no_site.status, 2);
  EXPECT_EQ(no_site.err, "starvane: --link needs --site URL, the page's address\n");
  EXPECT_EQ(no_script.status, 2);
  EXPECT_NE(no_script.err.find("notes.txt:1:"), std::string::npos) << no_script.err;
  EXPECT_EQ(damaged.status, 2);
  EXPECT_EQ(damaged.err,
            "starvane: the link is cut short (its compressed data stops before its end)\n");
}

TEST(PlayBinary, FramesEndTheGameAndOutputsThatCannotBeWrittenFail) {
  const auto result = RunStarvaneBinary("--headless --frames 25 --dump -");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.rfind("{\"frame\": 25,", 0), 0u);
  const auto shot = RunStarvaneBinary("--headless --frames 1 --screenshot /no/such/dir/s.bmp");
  EXPECT_EQ(shot.status, 1);
  // Each failure gives the system's reason.
  EXPECT_NE(shot.err.find("cannot write the screenshot to '/no/such/dir/s.bmp' (No such file"),
            std::string::npos)
      << shot.err;
  const auto record = RunStarvaneBinary("--headless --frames 1 --record /no/such/dir/r.txt");
  EXPECT_EQ(record.status, 1);
  EXPECT_NE(record.err.find("cannot write the recording to '/no/such/dir/r.txt' (No such file"),
            std::string::npos)
      << record.err;
  const auto full = RunStarvaneBinary("--headless --frames 1 --dump /dev/full");
  EXPECT_EQ(full.status, 1);
  EXPECT_NE(full.err.find("(No space left on device)"), std::string::npos) << full.err;
}

// settings.txt is the player's: a headless game, or one played from a script, neither reads it
// (no word of its damaged line, and its volume 0 silences nothing) nor writes it.
TEST(PlayBinary, HeadlessAndScriptedGamesNeitherReadNorWriteTheSettings) {
  TempDirectory dir;
  const std::string settings = "volume 0\nscale huge\n";
  dir.Write("settings.txt", settings);
  dir.Write("up.txt", "0 down Up Space\n");
  for (const std::string& input : {std::string(), " --input " + In(dir, "up.txt")}) {
    const auto result = RunStarvaneBinary("--headless --frames 30 --files " + In(dir, "") + input +
                                          " --audio-out " + In(dir, "a.wav"));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err.find("settings.txt"), std::string::npos) << result.err;
    EXPECT_EQ(dir.Read("settings.txt"), settings);
  }
  const std::string sound = dir.Read("a.wav");
  EXPECT_NE(sound.find_first_not_of('\0', 44), std::string::npos);  // not silent
}

TEST(PlayBinary, WhenOneOutputFailsTheOthersAreStillWritten) {
  TempDirectory dir;
  dir.Write("end.txt", "1 down Escape\n");
  const auto result = RunStarvaneBinary(
      "--headless --files " + In(dir, "") + " --input " + In(dir, "end.txt") + " --record " +
      In(dir, "r.txt") + " --screenshot /no/such/dir/s.bmp --dump /no/such/dir/d.json");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("cannot write the screenshot"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("cannot write the state summary"), std::string::npos) << result.err;
  EXPECT_NE(dir.Read("r.txt").find("1 down Escape\n"), std::string::npos);
  const auto dump_only =
      RunStarvaneBinary("--headless --frames 1 --screenshot /no/such/dir/s.bmp --dump -");
  EXPECT_EQ(dump_only.status, 1);
  EXPECT_EQ(dump_only.out.rfind("{\"frame\": 1,", 0), 0u) << dump_only.out;
}

// An output whose reader went away (head) or that was closed fails like a full disk instead of
// killing the game or going into another file:
// the failure is reported, the exit is 1, and the ship and the other outputs are still written.
TEST(PlayBinary, AnOutputWhoseReaderIsGoneOrThatIsClosedFailsAlone) {
  TempDirectory dir;
  dir.Write("long.txt", "40 down Escape\n");
  const std::string game = std::string("'") + STARVANE_BINARY + "' --headless --files " +
                           In(dir, "") + " --input " + In(dir, "long.txt");
  const std::string command =
      "sh -c \"{ " + game + " --ship A --audio-out /dev/stdout 2>" + In(dir, "a.err") +
      "; echo \\$? >" + In(dir, "a.status") + "; } | head -c 10; { " + game +
      " --ship B --audio-out " + In(dir, "b.wav") + " --dump - 2>" + In(dir, "b.err") +
      "; echo \\$? >" + In(dir, "b.status") + "; } | head -c 10; " + game +
      " --ship C --frames 3 --audio-out " + In(dir, "c.wav") + " --dump - >&- 2>" +
      In(dir, "c.err") + "; echo \\$? >" + In(dir, "c.status") + "\" >/dev/null";
  std::system(command.c_str());
  EXPECT_EQ(dir.Read("a.status"), "1\n");
  EXPECT_NE(dir.Read("a.err").find("cannot write the sound to '/dev/stdout' (Broken pipe)"),
            std::string::npos)
      << dir.Read("a.err");
  EXPECT_EQ(dir.Read("b.status"), "1\n");
  EXPECT_NE(dir.Read("b.err").find("cannot write the state summary to '-' (Broken pipe)"),
            std::string::npos)
      << dir.Read("b.err");
  const std::string wav = dir.Read("b.wav");  // finished: the data size filled in
  ASSERT_EQ(wav.size(), 44u + 41u * 3840u);
  EXPECT_EQ(wav.substr(40, 4), std::string("\x00\x67\x02\x00", 4));
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "A.shp"));
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "B.shp"));
  // A closed standard output (">&-") fails the dump and lends its number to no other file.
  EXPECT_EQ(dir.Read("c.status"), "1\n");
  EXPECT_NE(dir.Read("c.err").find("to '-' (Bad file descriptor)"), std::string::npos)
      << dir.Read("c.err");
  EXPECT_EQ(dir.Read("c.wav").size(), 44u + 3u * 3840u);
}

// Past the file size limit (ulimit -f) a write fails like a full disk instead of killing the
// game: even a dump of which only the last byte is refused fails the exit and leaves no cut file,
// as a screenshot (F12) leaves none; the ship is still saved.
TEST(PlayBinary, OutputsPastTheFileSizeLimitFailLeavingNoCutFileAndTheShipIsSaved) {
  TempDirectory dir;
  dir.Write("shot.txt", "1 down F12\n2 up F12\n45 down Escape\n");
  for (const char* files : {"free", "limited"})
    std::filesystem::create_directory(dir.Path() / files);
  const auto game = [&](const std::string& files) {
    return "--headless --seed 2 --files " + In(dir, files) + " --input " + In(dir, "shot.txt") +
           " --dump " + In(dir, files + "/d.json");
  };
  ASSERT_EQ(RunStarvaneBinary(game("free")).status, 0);
  std::filesystem::create_symlink("last.bmp", dir.Path() / "limited/link.bmp");
  const std::uintmax_t dump_size = std::filesystem::file_size(dir.Path() / "free/d.json");
  const int status = InChildProcess([&] {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = dump_size - 1;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 99;
    const auto result = RunStarvaneBinary(game("limited") + " --audio-out " + In(dir, "w.wav") +
                                          " --screenshot " + In(dir, "limited/link.bmp"));
    dir.Write("err", result.err);
    return result.status;
  });
  EXPECT_EQ(status, 1);
  const std::string err = dir.Read("err");
  EXPECT_NE(err.find("cannot write the state summary to '" +
                     (dir.Path() / "limited/d.json").string() + "' (File too large)"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("cannot write a screenshot"), std::string::npos) << err;
  EXPECT_NE(err.find("cannot write the sound"), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "limited/d.json"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "limited/starvane-001.bmp"));
  // Through a link the cut file is emptied where it lies; the link stays.
  EXPECT_EQ(std::filesystem::file_size(dir.Path() / "limited/link.bmp"), 0u);
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "limited/MyShip.shp"));
}

// A named pipe that no program reads would keep the game waiting for ever: refused at once. A
// pipe with a reader gets every byte (a sound that streams carries the largest sizes, as it
// cannot go back to fill them in).
TEST(PlayBinary, AnOutputPipeWithoutAReaderIsRefusedAndOneWithAReaderIsWritten) {
  TempDirectory dir;
  ASSERT_EQ(std::system(("mkfifo " + In(dir, "fifo")).c_str()), 0);
  for (const char* option : {"--audio-out", "--record", "--dump", "--screenshot"}) {
    const auto result = RunStarvaneBinary(
        "--headless --frames 1 " + std::string(option) + " " + In(dir, "fifo"), "timeout 20");
    EXPECT_EQ(result.status, 1) << option;
    EXPECT_NE(result.err.find("(a named pipe that no program reads)"), std::string::npos)
        << result.err;
  }
  const std::string command = std::string("sh -c \"{ '") + STARVANE_BINARY +
                              "' --headless --frames 40 --files " + In(dir, "") +
                              " --audio-out /dev/stdout; echo \\$? >" + In(dir, "status") +
                              "; } | wc -c >" + In(dir, "count") + "\"";
  std::system(command.c_str());
  EXPECT_EQ(dir.Read("status"), "0\n");
  EXPECT_EQ(std::stoul("0" + dir.Read("count")), 44u + 40u * 3840u);
  // Once open, a pipe is written the waiting way, so a reader slower than the game loses nothing.
  const int reader = ::open((dir.Path() / "fifo").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  const int writer = OpenOutput(dir.Path() / "fifo", O_TRUNC);
  ASSERT_GE(writer, 0);
  EXPECT_EQ(::fcntl(writer, F_GETFL) & O_NONBLOCK, 0);
  ::close(writer);
  ::close(reader);
}

// An output that is one of the game's own files, however it is named (a link, a hard link, a
// file yet to be made, a name relative to the working directory), is refused before the game
// starts: writing it would destroy a ship.
TEST(PlayBinary, AnOutputIsNeverOneOfTheGamesOwnFiles) {
  TempDirectory dir;
  dir.Write("Nova.shp", "80\r\n");
  dir.Write("ships.txt", "Nova\n");
  dir.Write("esc.txt", "1 down Escape\n");
  std::filesystem::create_symlink("Nova.shp", dir.Path() / "alias");
  std::filesystem::create_hard_link(dir.Path() / "Nova.shp", dir.Path() / "hard");
  std::filesystem::create_symlink("New.shp", dir.Path() / "dangling");
  const std::string game = "--headless --files " + In(dir, "") + " --input " + In(dir, "esc.txt");
  for (const char* outputs :
       {" --ship Nova --record alias", " --dump hard", " --screenshot ships.txt",
        " --audio-out .starvane.lock", " --record esc.txt", " --ship New --dump dangling"}) {
    const auto result = RunStarvaneBinary(game + outputs, "cd " + In(dir, "") + " &&");
    EXPECT_EQ(result.status, 2) << outputs;
    EXPECT_NE(result.err.find("which the output would replace"), std::string::npos) << result.err;
  }
  EXPECT_EQ(dir.Read("Nova.shp"), "80\r\n");
  EXPECT_EQ(dir.Read("ships.txt"), "Nova\n");
  EXPECT_EQ(dir.Read("esc.txt"), "1 down Escape\n");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "New.shp"));
}

// A shell step (inside sh -c "...") that waits until a running game has made the file (at most
// 10 s, so that a game that never starts fails its test instead of hanging it), and a moment
// more: the game makes the recording once its quit signals are caught, the lock file just before
// it takes the lock.
std::string WaitForFile(const std::string& path) {
  return "i=0; until [ -e " + path +
         " ] || [ \\$i -gt 200 ]; do sleep 0.05; i=\\$((i+1)); done; sleep 0.2; ";
}

// A recording of a game that did not end by Escape ends its replay at the same frame, the same
// way: 'end frames' saves nothing like --frames, 'end closed' ends like Escape.
TEST(PlayBinary, AGameEndedByFramesOrASignalReplaysToTheSameEnd) {
  TempDirectory dir;
  dir.Write("play.txt", "0 down Up\n3 up Up\n");
  const auto recorded = RunStarvaneBinary("--headless --seed 4 --frames 12 --files " + In(dir, "") +
                                          " --input " + In(dir, "play.txt") + " --record " +
                                          In(dir, "rec.txt") + " --dump " + In(dir, "a.json"));
  ASSERT_EQ(recorded.status, 0) << recorded.err;
  const std::string recording = dir.Read("rec.txt");
  EXPECT_EQ(recording.substr(recording.size() - 15), "\n12 end frames\n") << recording;
  const auto replayed = RunStarvaneBinary("--headless --files " + In(dir, "") + " --input " +
                                          In(dir, "rec.txt") + " --dump " + In(dir, "b.json"));
  ASSERT_EQ(replayed.status, 0) << replayed.err;
  EXPECT_EQ(replayed.err, "");  // the script ends: no "runs until stopped"
  EXPECT_EQ(dir.Read("a.json"), dir.Read("b.json"));
  EXPECT_EQ(dir.Read("b.json").rfind("{\"frame\": 12,", 0), 0u);
  EXPECT_NE(dir.Read("b.json").find("\"frameHash\": \""), std::string::npos);

  // Stopped by a signal somewhere in its run: the replay stops at that frame.
  const std::string command =
      std::string("sh -c \"'") + STARVANE_BINARY + "' --headless --seed 4 --files " + In(dir, "") +
      " --input " + In(dir, "play.txt") + " --record " + In(dir, "sig.txt") + " --dump " +
      In(dir, "c.json") + " & pid=\\$!; " + WaitForFile(In(dir, "sig.txt")) +
      "kill -TERM \\$pid; wait \\$pid\" 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string signalled = dir.Read("sig.txt");
  EXPECT_NE(signalled.find(" end closed\n"), std::string::npos) << signalled;
  // Ended like Escape, the game saved its ship. The replay must start from the ship the
  // recorded game started from: none.
  EXPECT_TRUE(std::filesystem::remove(dir.Path() / "MyShip.shp"));
  const auto again = RunStarvaneBinary("--headless --files " + In(dir, "") + " --input " +
                                       In(dir, "sig.txt") + " --dump " + In(dir, "d.json"));
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(dir.Read("c.json"), dir.Read("d.json"));
}

TEST(PlayBinary, ADirectoryIsNoInputScript) {
  TempDirectory dir;
  const auto result = RunStarvaneBinary("--headless --input " + In(dir, ""));
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("is a directory, not an input script"), std::string::npos)
      << result.err;
}

TEST(PlayBinary, TheDumpStaysAsciiJsonForAnyShipNameAndListsEveryBody) {
  const auto result = RunStarvaneBinary(
      "--headless --frames 0 --seed 7 --ship \"$(printf 'Q\\303\\251\\377')\" --dump -");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("\"shipName\": \"Q\\u00c3\\u00a9\\u00ff\""), std::string::npos)
      << result.out;
  for (char c : result.out) EXPECT_LT(static_cast<unsigned char>(c), 0x7F);
  // Every body, in list order.
  std::size_t bodies = 0;
  for (std::size_t at = result.out.find("{\"kind\": "); at != std::string::npos;
       at = result.out.find("{\"kind\": ", at + 1)) {
    ++bodies;
  }
  EXPECT_EQ(bodies, 894u);
  EXPECT_NE(result.out.find("\"bodies\": [{\"kind\": "), std::string::npos);
  EXPECT_NE(result.out.find("\"onScreen\": "), std::string::npos);
  EXPECT_NE(result.out.find("\"p1\": ["), std::string::npos);
}

// Only a regular file is a script: a pipe whose writer never finishes, or /dev/zero, would keep
// the program waiting or fill its memory. Each is refused at once, with its reason.
TEST(PlayBinary, APipeOrADeviceIsNoInputScriptAndNothingWaits) {
  TempDirectory dir;
  const std::string fifo = (dir.Path() / "fifo").string();
  ASSERT_EQ(std::system(("mkfifo '" + fifo + "'").c_str()), 0);
  for (const std::string& script : {fifo, std::string("/dev/zero")}) {
    const auto result = RunStarvaneBinary("--headless --input '" + script + "'");
    EXPECT_EQ(result.status, 2) << script;
    EXPECT_NE(result.err.find(script + ": is not a regular file"), std::string::npos) << result.err;
  }
  const auto missing = RunStarvaneBinary("--headless --input " + In(dir, "none.txt"));
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("(No such file or directory)"), std::string::npos) << missing.err;
}

// A closed terminal (SIGHUP), Ctrl+\ (SIGQUIT) and the signals a script or a timer sends (USR1,
// USR2, ALRM) end the game as Ctrl+C does: nothing is lost. The games run side by side.
TEST(PlayBinary, QuitSignalsEndTheGameLikeEscape) {
  TempDirectory dir;
  dir.Write("idle.txt", "0 down Up\n");
  const std::vector<std::string> signals = {"TERM", "INT", "HUP", "QUIT", "USR1", "USR2", "ALRM"};
  std::string command = "sh -c \"";
  for (const std::string& signal : signals) {
    std::filesystem::create_directory(dir.Path() / signal);
    command += std::string("'") + STARVANE_BINARY + "' --headless --files " + In(dir, signal) +
               " --input " + In(dir, "idle.txt") + " --dump " + In(dir, signal + "/end.json") +
               " 2>" + In(dir, signal + "/err") + " & " + signal + "=\\$!; ";
  }
  // Each is signalled once it plays: its message comes after its handlers are in place (at
  // most 10 s each, so that a game that never starts fails the test instead of hanging it).
  for (const std::string& signal : signals) {
    command += "i=0; until grep -q stopped " + In(dir, signal + "/err") +
               " || [ \\$i -gt 200 ]; do sleep 0.05; i=\\$((i+1)); done; ";
  }
  command += "sleep 0.2; ";
  for (const std::string& signal : signals) {
    command += "kill -" + signal + " \\$" + signal + "; wait \\$" + signal + "; echo \\$? >" +
               In(dir, signal + "/status") + "; ";
  }
  std::system((command + "\" >/dev/null 2>&1").c_str());
  for (const std::string& signal : signals) {
    EXPECT_EQ(dir.Read(signal + "/status"), "0\n") << signal;
    // The script never ends the game by itself, and says so.
    const std::string err = dir.Read(signal + "/err");
    EXPECT_NE(err.find("runs until stopped"), std::string::npos) << err;
    const std::string dump = dir.Read(signal + "/end.json");
    EXPECT_EQ(dump.rfind("{\"frame\": ", 0), 0u) << signal << ": " << dump.substr(0, 40);
    EXPECT_EQ(dump.rfind("{\"frame\": 0,", 0), std::string::npos) << dump.substr(0, 40);
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / signal / "MyShip.shp")) << signal;
  }
}

// The number of CR LF ended lines of a text.
std::size_t CountLines(const std::string& text) {
  std::size_t lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos;
       at = text.find("\r\n", at + 2)) {
    ++lines;
  }
  return lines;
}

TEST(PlayBinary, EscapeAndEndClosedSaveTheShipButFramesDoNot) {
  TempDirectory dir;
  dir.Write("esc.txt", "3 down Escape\n");
  dir.Write("closed.txt", "0 down Up\n4 end closed\n");
  const auto escaped = RunStarvaneBinary("--headless --ship Scout --files " + In(dir, "") +
                                         " --input " + In(dir, "esc.txt"));
  ASSERT_EQ(escaped.status, 0) << escaped.err;
  EXPECT_EQ(escaped.err, "");
  const std::string scout = dir.Read("Scout.shp");
  EXPECT_EQ(CountLines(scout), kShipFileFields.size());
  EXPECT_EQ(scout.rfind("100\r\n100\r\n0.005\r\n", 0), 0u) << scout;

  const auto closed = RunStarvaneBinary("--headless --ship Closed --files " + In(dir, "") +
                                        " --input " + In(dir, "closed.txt"));
  ASSERT_EQ(closed.status, 0) << closed.err;
  EXPECT_EQ(CountLines(dir.Read("Closed.shp")), kShipFileFields.size());

  const auto framed =
      RunStarvaneBinary("--headless --ship Framed --frames 5 --files " + In(dir, ""));
  ASSERT_EQ(framed.status, 0) << framed.err;
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Framed.shp"));
}

TEST(PlayBinary, TheShipFliesWithWhatItsFileHolds) {
  TempDirectory dir;
  // Money 5000 and a life of 80; no boost and no colour: the start boost, magenta.
  const std::string file = ShipFileWith({{ShipFileIndex("Life.Value"), "80"},
                                         {ShipFileIndex("Life.Max"), "80"},
                                         {ShipFileIndex("Money"), "5000"}});
  dir.Write("Rich.shp", file);
  const auto result =
      RunStarvaneBinary("--headless --ship Rich --frames 1 --files " + In(dir, "") + " --dump -");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("\"money\": 5000,"), std::string::npos) << result.out.substr(0, 600);
  EXPECT_NE(result.out.find("\"red\": 255, \"green\": 0, \"blue\": 255}"), std::string::npos);
  EXPECT_NE(result.out.find("\"Boost\": {\"active\": 0, \"value\": 1, \"max\": 1.5,"),
            std::string::npos);
  EXPECT_EQ(dir.Read("Rich.shp"), file);  // --frames saves nothing
}

// The result line a recording would claim for the result --verify printed: the same names in
// the same order, without the JSON's punctuation, its "kills" and its verdict.
std::string ResultLineOf(std::string json) {
  json = json.substr(0, json.find(", \"verified\""));
  std::erase_if(json,
                [](char c) { return c == '{' || c == '}' || c == '"' || c == ':' || c == ','; });
  json.erase(json.find(" kills"), 6);
  return "result " + json + "\n";
}

// --verify replays a kept recording on the ship it holds and checks the result it claims: an
// untouched one verifies, an edited one names the first difference, one without a result says
// so; nothing of the player's is written. Files that cannot be read and options that choose
// another game are refused.
TEST(PlayBinary, VerifyChecksTheResultARecordingClaimsAndWritesNothing) {
  TempDirectory dir;
  TempDirectory files;
  const std::string ship = ShipFileWith({{ShipFileIndex("Life.Value"), "100"},
                                         {ShipFileIndex("Life.Max"), "100"},
                                         {ShipFileIndex("Money"), "5000"}});
  const std::string recording =
      "seed 5\ndifficulty normal\nship Rich\nshipfile " + EncodeBase64(ship) +
      "\nheld Up\n0 pointer 400 300\n" +
      "0 down Space\n20 down F12\n22 up F12\n30 up Up Space\n40 down C\n42 up C\n" +
      "44 pointer 156 122\n50 press\n52 release\n54 down C\n56 up C\n70 end closed\n";
  dir.Write("r.txt", recording);
  const std::string verify = " --files " + In(files, "") + " --verify ";
  const auto unclaimed = RunStarvaneBinary(verify + In(dir, "r.txt"));
  EXPECT_EQ(unclaimed.status, 1) << unclaimed.err;
  ASSERT_NE(unclaimed.out.find(
                "\"verified\": false, \"difference\": \"the recording claims no result\"}\n"),
            std::string::npos)
      << unclaimed.out;
  EXPECT_EQ(unclaimed.out.rfind("{\"frames\": 70, \"moneyStart\": 5000,", 0), 0u) << unclaimed.out;
  // No ship saved or locked, nothing kept, no screenshot from the recording's F12.
  EXPECT_TRUE(std::filesystem::is_empty(files.Path()));

  dir.Write("r.txt", recording + ResultLineOf(unclaimed.out));
  const auto verified = RunStarvaneBinary(verify + In(dir, "r.txt"));
  EXPECT_EQ(verified.status, 0) << verified.err << dir.Read("r.txt");
  EXPECT_EQ(verified.out, unclaimed.out.substr(0, unclaimed.out.find(", \"verified\"")) +
                              ", \"verified\": true}\n");

  std::string edited = recording + ResultLineOf(unclaimed.out);
  edited.replace(edited.find("30 up Up"), 8, "25 up Up");  // a shorter burst
  dir.Write("r.txt", edited);
  const auto refused = RunStarvaneBinary(verify + In(dir, "r.txt"));
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.out.find("\"verified\": false, \"difference\": \"frameHash: the recording "
                             "claims "),
            std::string::npos)
      << refused.out;

  const auto missing = RunStarvaneBinary(verify + In(dir, "none.txt"));
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("none.txt: cannot read the input script"), std::string::npos);
  const auto combined = RunStarvaneBinary(verify + In(dir, "r.txt") + " --seed 3");
  EXPECT_EQ(combined.status, 2);
  EXPECT_NE(combined.err.find("--verify plays the recording's own game: --seed cannot go with it"),
            std::string::npos)
      << combined.err;
  // A recording begun in the launcher would write ships.txt: it is replayed with --input.
  dir.Write("l.txt", "seed 3\nlauncher\n5 down Escape\n");
  EXPECT_EQ(RunStarvaneBinary(verify + In(dir, "l.txt")).status, 2);
  EXPECT_TRUE(std::filesystem::is_empty(files.Path()));
}

TEST(PlayBinary, AShipThatCannotBeReadOrSavedIsReportedAndFailsTheExit) {
  TempDirectory dir;
  dir.Write("esc.txt", "1 down Escape\n");
  std::filesystem::create_directory(dir.Path() / "MyShip.shp");
  const auto unreadable = RunStarvaneBinary("--headless --files " + In(dir, "") + " --input " +
                                            In(dir, "esc.txt") + " --dump " + In(dir, "d.json"));
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_NE(unreadable.err.find("MyShip.shp' cannot be opened (not a regular file)"),
            std::string::npos)
      << unreadable.err;
  EXPECT_NE(unreadable.err.find("the ship was not saved"), std::string::npos) << unreadable.err;
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "MyShip.shp"));
  EXPECT_EQ(dir.Read("d.json").rfind("{\"frame\": 2,", 0), 0u);  // the other outputs still come

  // /proc takes no new files, not even from root.
  const auto lost =
      RunStarvaneBinary("--headless --files /proc --input " + In(dir, "esc.txt") + " --dump -");
  EXPECT_EQ(lost.status, 1);
  EXPECT_NE(lost.err.find("cannot save the ship to '/proc/MyShip.shp'"), std::string::npos)
      << lost.err;
  EXPECT_EQ(lost.out.rfind("{\"frame\": 2,", 0), 0u);
}

// A second game on a ship that a running game flies would save over the first one's purchases:
// it is refused. Once the first game is gone, even killed, the ship can be flown again.
TEST(PlayBinary, OneShipIsFlownByOneGameAtATime) {
  TempDirectory dir;
  dir.Write("idle.txt", "0 down Up\n");
  const std::string first = std::string("'") + STARVANE_BINARY +
                            "' --headless --ship Nova --files " + In(dir, "") + " --input " +
                            In(dir, "idle.txt") + " 2>/dev/null";
  const std::string command = "sh -c \"" + first + " & pid=\\$!; " +
                              WaitForFile(In(dir, ".starvane.lock")) + "'" + STARVANE_BINARY +
                              "' --headless --ship Nova --frames 1 --files " + In(dir, "") + " 2>" +
                              In(dir, "err") + "; echo \\$? >" + In(dir, "status") +
                              "; kill -KILL \\$pid; wait \\$pid\" >/dev/null 2>&1";
  std::system(command.c_str());
  EXPECT_EQ(dir.Read("status"), "1\n");
  EXPECT_EQ(dir.Read("err"), "starvane: ship 'Nova' is in another game\n");
  const auto after = RunStarvaneBinary("--headless --ship Nova --frames 1 --files " + In(dir, ""));
  EXPECT_EQ(after.status, 0) << after.err;
}

TEST(PlayBinary, WithoutADisplayItSuggestsHeadless) {
  const auto result = RunStarvaneBinary("--frames 1", "env -u DISPLAY -u WAYLAND_DISPLAY");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("no display available"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("--headless"), std::string::npos);
}

TEST(RealScreen, TheWindowPresentsFramesAndEndsOnEscape) {
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "xvfb-run is not installed";
  }
  TempDirectory dir;
  dir.Write("esc.txt", "20 down Escape\n");
  // Leak detection stays on: tools/real-screen sets aside only the display libraries' leaks.
  const auto result =
      RunStarvaneBinary("--window --difficulty easy --seed 5 --files " + In(dir, "") + " --input " +
                            In(dir, "esc.txt") + " --dump -",
                        std::string("xvfb-run -a -s '-screen 0 1024x768x24 -noreset' '") +
                            STARVANE_SOURCE_DIR + "/tools/real-screen'");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out.rfind("{\"frame\": 21, \"seed\": 5,", 0), 0u) << result.out << result.err;
}

// A game of live input is kept unless --no-record, and one that cannot be kept (its folder
// cannot be made) is played all the same, said once on standard error.
TEST(RealScreen, AGameThatCannotBeKeptIsPlayedAllTheSameAndSaysSoOnce) {
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "xvfb-run is not installed";
  }
  const std::string screen = std::string("xvfb-run -a -s '-screen 0 1024x768x24 -noreset' '") +
                             STARVANE_SOURCE_DIR + "/tools/real-screen'";
  TempDirectory dir;
  const std::string play = "--window --difficulty easy --seed 5 --frames 20 --files " + In(dir, "");
  const auto unkept = RunStarvaneBinary(play + " --no-record --dump -", screen);
  EXPECT_EQ(unkept.status, 0) << unkept.err;
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "replays"));

  dir.Write("replays", "a file where the folder would be");
  const auto blocked = RunStarvaneBinary(play + " --dump -", screen);
  EXPECT_EQ(blocked.status, 0) << blocked.err;
  EXPECT_EQ(blocked.out, unkept.out);
  const auto said = blocked.err.find("starvane: this game is not kept in ");
  EXPECT_NE(said, std::string::npos) << blocked.err;
  EXPECT_EQ(blocked.err.find("not kept", said + 30), std::string::npos) << blocked.err;
}

// The real-screen scripts need an X server of their own and real input.
bool RealScreenToolsMissing() {
  return std::system("command -v xvfb-run >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1") !=
         0;
}

// Runs tests/scripts/SCRIPT with the starvane binary on an X server of this screen size, its
// files in dir (where the script leaves its dump, recording, err and, as its last act, the
// game's exit status): whether the script played to its end. The script's trace, the X tools'
// complaints and the X server's log go to dir's "script.log" and "xvfb.log", which
// ScreenScriptLog shows when a run fails. What happens to the X server after the script is not
// the game's doing, so xvfb-run's own status is not asked for; and the server is not reset when
// its last client (the game) goes, which is one chance fewer for it to fail.
bool ScreenScriptPlayed(std::string_view script, std::string_view screen,
                        const TempDirectory& dir) {
  const std::string command = "timeout 120 xvfb-run -a -e " + In(dir, "xvfb.log") +
                              " -s '-screen 0 " + std::string(screen) + "x24 -noreset' bash -x '" +
                              STARVANE_SOURCE_DIR + "/tests/scripts/" + std::string(script) +
                              "' '" + STARVANE_BINARY + "' " + In(dir, "") + " >" +
                              In(dir, "script.log") + " 2>&1";
  return std::system(command.c_str()) != -1 && std::filesystem::exists(dir.Path() / "status");
}

// What a failed screen script left to go by: the game's standard error, the script's trace
// and the X server's log.
std::string ScreenScriptLog(const TempDirectory& dir) {
  return "\n--- game's err:\n" + dir.Read("err") + "\n--- script:\n" + dir.Read("script.log") +
         "\n--- X server:\n" + dir.Read("xvfb.log");
}

void CopyVeteran(const TempDirectory& dir) {
  std::filesystem::copy_file(std::filesystem::path(STARVANE_SOURCE_DIR) /
                                 "tests/golden/veteran_workshop/files/Veteran.shp",
                             dir.Path() / "Veteran.shp");
}

// The dump of the recording in dir played back headless, on fresh files (with the veteran
// ship when the game flew it).
std::string ReplayedDump(const TempDirectory& dir, bool veteran) {
  TempDirectory replay;
  if (veteran) CopyVeteran(replay);
  const auto replayed = RunStarvaneBinary("--headless --files " + In(replay, "") + " --input " +
                                          In(dir, "recording.txt") + " --dump -");
  EXPECT_EQ(replayed.status, 0) << replayed.err;
  return replayed.out;
}

// The game of live input kept in dir's replays/ (the only one there) replayed by --verify on
// fresh files: the result it claims, and the frame the live game ended on (its dump's hash).
void ExpectTheKeptGameVerifies(const TempDirectory& dir) {
  std::vector<std::filesystem::path> kept;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path() / "replays")) {
    kept.push_back(entry.path());
  }
  ASSERT_EQ(kept.size(), 1u);
  TempDirectory fresh;
  const auto verified =
      RunStarvaneBinary("--files " + In(fresh, "") + " --verify '" + kept[0].string() + "'");
  EXPECT_EQ(verified.status, 0) << verified.out << verified.err;
  const std::string dump = dir.Read("dump.json");
  const auto hash = dump.find("\"frameHash\": ");
  ASSERT_NE(hash, std::string::npos);
  EXPECT_NE(verified.out.find(dump.substr(hash, 31)), std::string::npos) << verified.out;
}

TEST(RealScreen, ANewPlayerAddsAShipInTheLauncherWithRealClicksAndFliesIt) {
  if (RealScreenToolsMissing()) GTEST_SKIP() << "xvfb-run or xdotool is not installed";
  TempDirectory dir;
  ASSERT_TRUE(ScreenScriptPlayed("launcher_clicks.sh", "1024x768", dir)) << ScreenScriptLog(dir);
  EXPECT_EQ(dir.Read("status"), "0\n") << dir.Read("err");
  EXPECT_EQ(dir.Read("ships.txt"), "Nova\r\n");
  const std::string dump = dir.Read("dump.json");
  EXPECT_NE(dump.find("\"difficulty\": 10, \"shipName\": \"Nova\""), std::string::npos) << dump;
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "Nova.shp")) << dir.Read("err");
  // The new ship's first game opened on the controls, by a press the recording holds once: its
  // replay opens on them too and ends alike.
  const std::string recording = dir.Read("recording.txt");
  const auto first = recording.find(" down F1\n");
  ASSERT_NE(first, std::string::npos) << recording;
  EXPECT_NE(recording.find(" down F1\n", first + 1), std::string::npos) << recording;  // closed
  EXPECT_EQ(recording.find(" down F1\n", recording.find(" down F1\n", first + 1) + 1),
            std::string::npos)
      << recording;
  EXPECT_EQ(ReplayedDump(dir, false), dump);
  ExpectTheKeptGameVerifies(dir);
}

// A window that loses the focus pauses the game and lets every held key go at once: no ship is
// left thrusting and firing while the player is elsewhere, nor when the player comes back.
TEST(RealScreen, ALostFocusLetsTheHeldKeysGoAndPauses) {
  if (RealScreenToolsMissing()) GTEST_SKIP() << "xvfb-run or xdotool is not installed";
  TempDirectory dir;
  CopyVeteran(dir);
  ASSERT_TRUE(ScreenScriptPlayed("focus_loss.sh", "1024x768", dir)) << ScreenScriptLog(dir);
  EXPECT_EQ(dir.Read("status"), "0\n") << dir.Read("err");
  // The recording: thrust and fire go down, the focus goes and both go up at that frame, and
  // nothing goes down again but P (to go on) and Escape.
  const std::string recording = dir.Read("recording.txt");
  const auto lost = recording.find(" focus lost\n");
  ASSERT_NE(lost, std::string::npos) << recording;
  const auto line_end = recording.find('\n', lost);
  const std::string frame =
      recording.substr(recording.rfind('\n', lost) + 1, lost - recording.rfind('\n', lost) - 1);
  EXPECT_EQ(recording.substr(line_end + 1, frame.size() + 13), frame + " up Space Up\n")
      << recording;
  const std::string after = recording.substr(line_end);
  EXPECT_EQ(after.find("down Up"), std::string::npos) << recording;
  EXPECT_EQ(after.find("down Space"), std::string::npos) << recording;
  EXPECT_NE(after.find("down P"), std::string::npos) << recording;

  EXPECT_EQ(ReplayedDump(dir, true), dir.Read("dump.json"));
  ExpectTheKeptGameVerifies(dir);
}

// The STATS page's arrow is where the player points, in a window of any size, and a real click
// buys what it is seen on; the recording holds the movements the game used, so it replays.
TEST(RealScreen, AClickInTheStatsPageHitsTheBoxUnderThePointer) {
  if (RealScreenToolsMissing()) GTEST_SKIP() << "xvfb-run or xdotool is not installed";
  TempDirectory dir;
  CopyVeteran(dir);
  ASSERT_TRUE(ScreenScriptPlayed("stats_clicks.sh", "1280x800", dir)) << ScreenScriptLog(dir);
  EXPECT_EQ(dir.Read("status"), "0\n") << dir.Read("err");
  const std::string ship = dir.Read("Veteran.shp");
  // The second line is the maximum life: 100, and 5 more for the box clicked.
  EXPECT_NE(ship.find("\r\n105\r\n0.005\r\n"), std::string::npos) << ship;

  EXPECT_EQ(ReplayedDump(dir, true), dir.Read("dump.json"));
  ExpectTheKeptGameVerifies(dir);
}

}  // namespace
}  // namespace starvane
