#pragma once
// The starvane command line. CommandLineOptions() is the one list of its options: the parser
// and --help both follow it, and a test holds the README's list of options to it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "media/screen_fit.hpp"    // ScaleMode
#include "world/game_choices.hpp"  // ParseDifficulty, IsValidShipName

namespace starvane {

struct Options {
  bool help = false;
  bool version = false;
  bool headless = false;
  bool window = false;
  ScaleMode scale = ScaleMode::Sharp;  // --scale: how the picture fills the screen
  bool scale_given = false;            // ... given, winning over settings.txt for the run
  bool launcher = false;               // the launcher even where it is skipped (headless)
  std::optional<float> difficulty;
  std::optional<std::string> ship;
  std::optional<std::uint64_t> seed;
  std::optional<std::filesystem::path> files;
  std::optional<std::int64_t> frames;
  std::optional<std::string> input;       // an input script to play
  std::optional<std::string> record;      // where to write this session's input
  std::optional<std::string> screenshot;  // where to write the last frame at exit
  std::optional<std::string> dump;        // "-" is standard output
  std::optional<std::string> audio_out;   // where to write the game's sound as a WAV file
  bool mute = false;                      // the sound starts muted (M unmutes it)
  int volume = 100;                       // --volume: 0 to 100
  bool volume_given = false;              // ... given, winning over settings.txt for the run
  bool notices = true;                    // --no-notices: no notices over the picture
  bool no_record = false;                 // --no-record: this game is not kept in replays/
  std::optional<std::string> watch;       // a recording (a file or a link) to watch as a film
  std::optional<std::string> verify;      // a recording to replay headless and check
  std::optional<std::string> link;        // a recording to print as a link to the page...
  std::optional<std::string> site;        // ... at this address (--site)
};

// A bad command line: the one line that tells what is wrong (exit status 2).
struct CommandLineError {
  std::string message;
};

// One option: how it is written, what --help says of it and what it sets.
struct CommandLineOption {
  std::string_view name;           // "--seed"
  std::string_view alias = "";     // another way to write it ("-h"), or empty
  std::string_view argument = "";  // what --help calls its value ("N"); empty for a switch, which
                                   // takes no value
  std::string_view help;           // its lines in --help, '\n' between them
  // Sets the options from the value (empty for a switch). Returns why the value is refused
  // ("is not a volume: ..."), or empty when it was taken.
  std::string_view (*set)(Options& options, std::string_view value);
};

// Every option, in the order --help lists them.
std::span<const CommandLineOption> CommandLineOptions();

// Parses the arguments after the program name. Options take their value as the next argument
// or after "=" ("--seed 7", "--seed=7").
std::variant<Options, CommandLineError> ParseCommandLine(std::span<const std::string_view> args);

// The --help text: the options with their help lines, what play and the exit status mean.
std::string Usage();

}  // namespace starvane
