#pragma once
// The starvane command line. See Usage() for the options; tests and users rely on them.

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
  bool notices = true;                    // --no-notices: no notices over the picture
};

// A bad command line: the one line that tells what is wrong (exit status 2).
struct CommandLineError {
  std::string message;
};

// Parses the arguments after the program name. Options take their value as the next argument
// or after "=" ("--seed 7", "--seed=7").
std::variant<Options, CommandLineError> ParseCommandLine(std::span<const std::string_view> args);

std::string Usage();

}  // namespace starvane
