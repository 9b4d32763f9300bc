#include "app/command_line.hpp"

#include <system_error>

#include "base/text_numbers.hpp"
#include "base/text_quoting.hpp"
#include "world/game_choices.hpp"

namespace starvane {

std::variant<Options, CommandLineError> ParseCommandLine(std::span<const std::string_view> args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view name = args[i];
    std::optional<std::string_view> inline_value;
    if (const auto equals = name.find('='); name.starts_with("--") && equals != name.npos) {
      inline_value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    auto flag = [&]() -> std::optional<CommandLineError> {
      if (inline_value) return CommandLineError{std::string(name) + " takes no value"};
      return {};
    };
    std::string_view value;
    auto take_value = [&]() -> std::optional<CommandLineError> {
      if (inline_value) {
        value = *inline_value;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        return CommandLineError{std::string(name) + " needs a value"};
      }
      return {};
    };
    auto fail = [&](std::string why) {
      return CommandLineError{std::string(name) + ": " + Quoted(value) + " " + why};
    };

    std::optional<CommandLineError> error;
    if (name == "--help" || name == "-h") {
      error = flag();
      options.help = true;
    } else if (name == "--version") {
      error = flag();
      options.version = true;
    } else if (name == "--headless") {
      error = flag();
      options.headless = true;
    } else if (name == "--window") {
      error = flag();
      options.window = true;
    } else if (name == "--scale") {
      if (!(error = take_value())) {
        if (value == "sharp") {
          options.scale = ScaleMode::Sharp;
        } else if (value == "integer") {
          options.scale = ScaleMode::Integer;
        } else {
          error = fail("is not a scaling: sharp or integer");
        }
      }
    } else if (name == "--launcher") {
      error = flag();
      options.launcher = true;
    } else if (name == "--seed") {
      if (!(error = take_value())) {
        options.seed = ParseWhole<std::uint64_t>(value);
        if (!options.seed) error = fail("is not a whole number from 0 to 18446744073709551615");
      }
    } else if (name == "--difficulty") {
      if (!(error = take_value())) {
        options.difficulty = ParseDifficulty(value);
        if (!options.difficulty) {
          error = fail(
              "is not a difficulty: very-easy, easy, normal, hard, crazy, "
              "or 0.2, 1, 10, 70, 150");
        }
      }
    } else if (name == "--ship") {
      if (!(error = take_value())) {
        options.ship = std::string(value);
        if (!IsValidShipName(value)) error = fail("is not a ship name: it holds a line end");
      }
    } else if (name == "--files") {
      if (!(error = take_value())) {
        options.files = std::filesystem::path(value);
        std::error_code ignored;
        if (!std::filesystem::is_directory(*options.files, ignored)) {
          error = fail("is not a directory");
        }
      }
    } else if (name == "--frames") {
      if (!(error = take_value())) {
        options.frames = ParseWhole<std::int64_t>(value);
        if (!options.frames || *options.frames < 0) error = fail("is not a whole number of frames");
      }
    } else if (name == "--input" || name == "--record" || name == "--screenshot" ||
               name == "--dump") {
      if (!(error = take_value())) {
        auto& file = name == "--input"    ? options.input
                     : name == "--record" ? options.record
                     : name == "--dump"   ? options.dump
                                          : options.screenshot;
        file = std::string(value);
        if (value.empty()) error = fail("is not a file name");
      }
    } else if (name == "--audio-out") {
      if (!(error = take_value())) {
        options.audio_out = std::string(value);
        if (value.empty()) error = fail("is not a file name");
      }
    } else if (name == "--mute") {
      error = flag();
      options.mute = true;
    } else if (name == "--no-notices") {
      error = flag();
      options.notices = false;
    } else if (name == "--volume") {
      if (!(error = take_value())) {
        const auto volume = ParseWhole<std::int64_t>(value);
        if (!volume || *volume < 0 || *volume > 100) {
          error = fail("is not a volume: a whole number from 0 to 100");
        } else {
          options.volume = static_cast<int>(*volume);
        }
      }
    } else if (name.starts_with("-")) {
      error = CommandLineError{"unknown option " + Quoted(name) + " (see --help)"};
    } else {
      error = CommandLineError{"unexpected argument " + Quoted(name) + " (see --help)"};
    }
    if (error) return *error;
  }
  return options;
}

std::string Usage() {
  return R"(usage: starvane [options]
  (none)               launcher, then full-screen play; ships.txt and ship files next to the program
  --difficulty LEVEL   skip the difficulty choice: very-easy|easy|normal|hard|crazy, or 0.2|1|10|70|150
  --ship NAME          fly this ship (with --difficulty the launcher is skipped entirely)
  --seed N             seed the random generator with N (decimal, 64-bit) instead of the clock
  --files DIR          directory for ships.txt and ship files (default: the program's directory;
                       when it cannot be written, $XDG_DATA_HOME/starvane or
                       ~/.local/share/starvane, and the game says so)
  --headless           no window, no pacing, no display needed; implies the launcher is skipped
                       (difficulty default easy, ship default MyShip)
  --window             play in a window instead of full screen (Alt+Enter toggles)
  --scale MODE         how the 800x600 picture fills the screen or window: sharp (default: as
                       large as fits, whole-multiple pixels smoothed to the size) or integer
                       (only whole multiples, the rest black); smaller than 800x600, both shrink
                       it smoothly
  --launcher           show the launcher even where it is skipped (with --headless: driven by
                       --input, whose pointer, press and type events click and type in it)
  --frames N           end after N presented frames; like closing from outside, this saves nothing
  --input FILE         take keyboard and mouse from an input script
  --record FILE        write this session's input, with its seed, difficulty and ship, as an
                       input script that --headless --input plays back to the same game
  --screenshot FILE    at exit, write the last presented frame as a 24-bit BMP
  --dump FILE          at exit, write the state summary as JSON ('-' = standard output)
  --audio-out FILE     write the game's sound as a 16-bit stereo 48 kHz WAV file, also headless
                       (the same bytes every run of the same game); it starts with the game's
                       first frame, after the launcher
  --mute               start with the sound muted (M mutes and unmutes in play)
  --volume N           the sound's volume, 0 to 100 (default 100)
  --no-notices         no short notices over the picture ("Shield on", "Muted", ...)
  --help, --version
In play, Escape ends the game, F12 writes a screenshot next to the ship files and M mutes the
sound. Headless runs are silent unless --audio-out writes their sound.
exit status: 0 normal end; 2 bad command line or bad input script (the message names the
problem, and the file and line); 1 any other failure (for example no display), with a message
)";
}

}  // namespace starvane
