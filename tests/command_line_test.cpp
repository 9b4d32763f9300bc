#include "app/command_line.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/text_quoting.hpp"
#include "tests/support/run_program.hpp"

namespace starvane {
namespace {

using starvane::testing::RunStarvaneBinary;

std::variant<Options, CommandLineError> Parse(std::vector<std::string_view> args) {
  return ParseCommandLine(args);
}

std::string ErrorOf(std::vector<std::string_view> args) {
  const auto parsed = Parse(args);
  const auto* error = std::get_if<CommandLineError>(&parsed);
  return error ? error->message : "(accepted)";
}

// The options that the README's command-line section lists: the names that begin its option
// lines ("--help, --version" names two), not the options its descriptions mention.
std::set<std::string> ReadmeOptions() {
  std::ifstream readme(std::string(STARVANE_SOURCE_DIR) + "/README.md");
  std::set<std::string> names;
  bool in_section = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.starts_with("#")) in_section = line == "## The command line";
    if (!in_section || !line.starts_with("      --")) continue;
    // The names end where the description begins, two spaces on ("--scale MODE" names one).
    std::istringstream names_column(line.substr(0, line.find("  ", 6)));
    for (std::string word; names_column >> word;) {
      if (word.starts_with("--")) names.insert(word.substr(0, word.find(',')));
    }
  }
  return names;
}

TEST(CommandLine, TheReadmeListsTheOptionsOfTheTable) {
  std::set<std::string> table;
  for (const CommandLineOption& option : CommandLineOptions()) table.emplace(option.name);
  EXPECT_EQ(ReadmeOptions(), table);
}

TEST(CommandLine, ReadsEveryOptionInBothForms) {
  const auto parsed = Parse({"--headless", "--seed", "18446744073709551615", "--difficulty=crazy",
                             "--ship", "Blue Moon", "--frames=12", "--dump", "-"});
  ASSERT_TRUE(std::holds_alternative<Options>(parsed));
  const Options& o = std::get<Options>(parsed);
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(*o.seed, 18446744073709551615ull);
  EXPECT_EQ(*o.difficulty, 150.0f);
  EXPECT_EQ(*o.ship, "Blue Moon");
  EXPECT_EQ(*o.frames, 12);
  EXPECT_EQ(*o.dump, "-");
  EXPECT_TRUE(std::get<Options>(Parse({"-h"})).help);
}

TEST(CommandLine, SoundOptionsAndBadVolumes) {
  const Options plain = std::get<Options>(Parse({}));
  EXPECT_FALSE(plain.mute);
  EXPECT_EQ(plain.volume, 100);
  EXPECT_FALSE(plain.audio_out);
  const Options o = std::get<Options>(Parse({"--mute", "--volume=0", "--audio-out", "a.wav"}));
  EXPECT_TRUE(o.mute);
  EXPECT_EQ(o.volume, 0);
  EXPECT_EQ(std::get<Options>(Parse({"--volume", "100"})).volume, 100);  // the maximum
  EXPECT_EQ(*o.audio_out, "a.wav");
  for (const std::string_view bad : {"101", "-1", "50%", "", "1e2"}) {
    EXPECT_EQ(ErrorOf({"--volume", bad}),
              "--volume: " + Quoted(bad) + " is not a volume: a whole number from 0 to 100");
  }
  EXPECT_EQ(ErrorOf({"--mute=1"}), "--mute takes no value");
  EXPECT_EQ(ErrorOf({"--audio-out="}), "--audio-out: " + Quoted("") + " is not a file name");
}

TEST(CommandLine, ScaleSharpByDefaultOrIntegerOnly) {
  EXPECT_EQ(std::get<Options>(Parse({})).scale, ScaleMode::Sharp);
  EXPECT_EQ(std::get<Options>(Parse({"--scale", "integer"})).scale, ScaleMode::Integer);
  EXPECT_EQ(std::get<Options>(Parse({"--scale=integer", "--scale=sharp"})).scale, ScaleMode::Sharp);
  EXPECT_EQ(ErrorOf({"--scale", "2x"}), "--scale: '2x' is not a scaling: sharp or integer");
  EXPECT_EQ(ErrorOf({"--scale"}), "--scale needs a value");
  EXPECT_NE(Usage().find("--scale MODE"), std::string::npos);
}

TEST(CommandLine, DifficultiesByNameOrFactor) {
  EXPECT_EQ(ParseDifficulty("very-easy"), 0.2f);
  EXPECT_EQ(ParseDifficulty("0.2"), 0.2f);
  EXPECT_EQ(ParseDifficulty("easy"), 1.0f);
  EXPECT_EQ(ParseDifficulty("normal"), 10.0f);
  EXPECT_EQ(ParseDifficulty("70"), 70.0f);
  EXPECT_EQ(ParseDifficulty("crazy"), 150.0f);
  EXPECT_FALSE(ParseDifficulty("Normal"));
  EXPECT_FALSE(ParseDifficulty("5"));
  EXPECT_FALSE(ParseDifficulty(""));
}

TEST(CommandLine, EveryMistakeIsNamed) {
  EXPECT_EQ(ErrorOf({"--bogus"}), "unknown option '--bogus' (see --help)");
  EXPECT_EQ(ErrorOf({"stray"}), "unexpected argument 'stray' (see --help)");
  EXPECT_EQ(ErrorOf({"--seed"}), "--seed needs a value");
  EXPECT_EQ(ErrorOf({"--headless=1"}), "--headless takes no value");
  EXPECT_NE(ErrorOf({"--seed", "-1"}).find("--seed: '-1' is not a whole number"),
            std::string::npos);
  EXPECT_NE(ErrorOf({"--seed", "18446744073709551616"}).find("not a whole number"),
            std::string::npos);
  EXPECT_NE(ErrorOf({"--seed", "7x"}).find("'7x'"), std::string::npos);
  EXPECT_NE(ErrorOf({"--frames", "-3"}).find("--frames: '-3'"), std::string::npos);
  EXPECT_NE(ErrorOf({"--difficulty", "medium"}).find("'medium' is not a difficulty"),
            std::string::npos);
  EXPECT_NE(ErrorOf({"--files", "/no/such/dir"}).find("is not a directory"), std::string::npos);
  EXPECT_NE(ErrorOf({"--dump", ""}).find("is not a file name"), std::string::npos);
  // A name is a line of the ship list: anything but a line end (the file name is made safe).
  for (std::string_view bad : {"line\nbreak", "a\rb"}) {
    EXPECT_NE(ErrorOf({"--ship", bad}).find("is not a ship name"), std::string::npos) << bad;
  }
}

TEST(StarvaneBinary, DumpsTheGeneratedWorld) {
  const auto run = RunStarvaneBinary("--headless --frames 0 --seed 7 --difficulty normal --dump -");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"frame\": 0, \"seed\": 7, \"difficulty\": 10, \"shipName\": \"MyShip\""),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\"counts\": {\"bodies\": 894, \"bigStars\": 5000, \"smallStars\": 5000, "
                         "\"sparks\": 0, \"shots\": 0, \"buttons\": 0}"),
            std::string::npos);
  EXPECT_NE(run.out.find("\"kinds\": {\"0\": 1, \"1\": 716, \"4\": 1, \"6\": 1, \"7\": 100, "
                         "\"8\": 40, \"9\": 1, \"10\": 33, \"12\": 1}"),
            std::string::npos);
  EXPECT_NE(run.out.find("\"Boost\": {\"active\": 0, \"value\": 1, \"max\": 1.5, "
                         "\"refreshrate\": -0.200000003"),
            std::string::npos);
  EXPECT_EQ(RunStarvaneBinary("--headless --frames 0 --seed 7 --difficulty normal --dump -").out,
            run.out);
  EXPECT_NE(RunStarvaneBinary("--headless --frames 0 --seed 8 --dump -").out, run.out);
}

TEST(StarvaneBinary, WritesTheDumpToAFileAndUsesTheHeadlessDefaults) {
  starvane::testing::TempDirectory dir;
  const auto run =
      RunStarvaneBinary("--headless --frames=0 --seed=3 --files '" + dir.Path().string() +
                        "' --dump '" + (dir.Path() / "s.json").string() + "'");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  const std::string dump = dir.Read("s.json");
  EXPECT_NE(dump.find("\"difficulty\": 1, \"shipName\": \"MyShip\""), std::string::npos) << dump;
}

TEST(StarvaneBinary, BadCommandLinesExitWithTwoAndOneLine) {
  for (const char* args : {"--bogus", "--seed", "--seed x", "--difficulty medium", "--frames -1"}) {
    const auto run = RunStarvaneBinary(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_EQ(run.out, "") << args;
    EXPECT_EQ(run.err.rfind("starvane: ", 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  }
  const auto unwritable = RunStarvaneBinary("--headless --frames 0 --dump /no/such/dir/s.json");
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos);
}

#ifndef _WIN32  // runs the program through a POSIX shell
TEST(StarvaneBinary, HelpAndVersion) {
  const auto help = RunStarvaneBinary("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--difficulty LEVEL"), std::string::npos);
  const auto version = RunStarvaneBinary("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("starvane ", 0), 0u);
  // Help that never reached its reader is no success. (The runner's own output redirection
  // comes after these arguments, so each is written in a shell of its own.)
  for (const char* output : {">/dev/full", ">&-"}) {
    const std::string command =
        std::string("sh -c \"'") + STARVANE_BINARY + "' --help " + output + " 2>/dev/null\"";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << output;
  }
}
#endif  // _WIN32

TEST(CommandLine, NoticesAreOnUnlessNoNoticesTurnsThemOff) {
  EXPECT_TRUE(std::get<Options>(Parse({})).notices);
  EXPECT_FALSE(std::get<Options>(Parse({"--no-notices"})).notices);
}

}  // namespace
}  // namespace starvane
