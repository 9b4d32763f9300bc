// The table of the command line's options. A new option is one entry here (and its field in
// Options): the parser and --help take it from this table, and the README's list of options
// must name it too, or a test fails.

#include <array>
#include <filesystem>
#include <system_error>

#include "app/command_line.hpp"
#include "base/text_numbers.hpp"
#include "files/path_text.hpp"
#include "files/system_rules.hpp"
#include "world/game_choices.hpp"

namespace starvane {
namespace {

// A file the game writes or reads: any name but the empty one.
std::string_view SetFileName(std::optional<std::string>& file, std::string_view value) {
  file = std::string(value);
  return value.empty() ? "is not a file name" : "";
}

constexpr auto kOptions = std::to_array<CommandLineOption>({
    {.name = "--difficulty",
     .argument = "LEVEL",
     .help = "skip the difficulty choice: very-easy|easy|normal|hard|crazy, or 0.2|1|10|70|150",
     .set = [](Options& o, std::string_view value) -> std::string_view {
       o.difficulty = ParseDifficulty(value);
       if (o.difficulty) return "";
       return "is not a difficulty: very-easy, easy, normal, hard, crazy, or 0.2, 1, 10, 70, 150";
     }},
    {.name = "--ship",
     .argument = "NAME",
     .help = "fly this ship (with --difficulty the launcher is skipped entirely)",
     .set = [](Options& o, std::string_view value) -> std::string_view {
       o.ship = std::string(value);
       return IsValidShipName(value) ? "" : "is not a ship name: it holds a line end";
     }},
    {.name = "--seed",
     .argument = "N",
     .help = "seed the random generator with N (decimal, 64-bit) instead of the clock",
     .set = [](Options& o, std::string_view value) -> std::string_view {
       o.seed = ParseWhole<std::uint64_t>(value);
       return o.seed ? "" : "is not a whole number from 0 to 18446744073709551615";
     }},
    {.name = "--files",
     .argument = "DIR",
     .help = kThisSystem == SystemRules::Windows
                 ? "directory for ships.txt and ship files (default: the program's directory;\n"
                   "when it cannot be written, %APPDATA%\\Starvane, and the game says so)"
                 : "directory for ships.txt and ship files (default: the program's directory;\n"
                   "when it cannot be written, $XDG_DATA_HOME/starvane or\n"
                   "~/.local/share/starvane, and the game says so)",
     .set = [](Options& o, std::string_view value) -> std::string_view {
       o.files = PathOfText(value);
       std::error_code ignored;
       return std::filesystem::is_directory(*o.files, ignored) ? "" : "is not a directory";
     }},
    {.name = "--headless",
     .help = "no window, no pacing, no display needed; implies the launcher is skipped\n"
             "(difficulty default easy, ship default MyShip)",
     .set = [](Options& o, std::string_view) -> std::string_view {
       o.headless = true;
       return "";
     }},
    {.name = "--window",
     .help = "play in a window instead of full screen (Alt+Enter toggles)",
     .set = [](Options& o, std::string_view) -> std::string_view {
       o.window = true;
       return "";
     }},
    {.name = "--scale",
     .argument = "MODE",
     .help = "how the 800x600 picture fills the screen or window: sharp (default: as\n"
             "large as fits, whole-multiple pixels smoothed to the size) or integer\n"
             "(only whole multiples, the rest black); smaller than 800x600, both shrink\n"
             "it smoothly",
     .set = [](Options& o, std::string_view value) -> std::string_view {
       if (value == "sharp") {
         o.scale = ScaleMode::Sharp;
       } else if (value == "integer") {
         o.scale = ScaleMode::Integer;
       } else {
         return "is not a scaling: sharp or integer";
       }
       o.scale_given = true;
       return "";
     }},
    {.name = "--launcher",
     .help = "show the launcher even where it is skipped (with --headless: driven by\n"
             "--input, whose pointer, press and type events click and type in it)",
     .set = [](Options& o, std::string_view) -> std::string_view {
       o.launcher = true;
       return "";
     }},
    {.name = "--frames",
     .argument = "N",
     .help = "end after N presented frames; like closing from outside, this saves nothing",
     .set = [](Options& o, std::string_view value) -> std::string_view {
       o.frames = ParseWhole<std::int64_t>(value);
       return o.frames && *o.frames >= 0 ? "" : "is not a whole number of frames";
     }},
    {.name = "--input",
     .argument = "FILE",
     .help = "take keyboard and mouse from an input script",
     .set = [](Options& o, std::string_view value) { return SetFileName(o.input, value); }},
    {.name = "--record",
     .argument = "FILE",
     .help = "write this session's input, with its seed, difficulty and ship, as an\n"
             "input script that --headless --input plays back to the same game",
     .set = [](Options& o, std::string_view value) { return SetFileName(o.record, value); }},
    {.name = "--screenshot",
     .argument = "FILE",
     .help = "at exit, write the last presented frame as a 24-bit BMP",
     .set = [](Options& o, std::string_view value) { return SetFileName(o.screenshot, value); }},
    {.name = "--dump",
     .argument = "FILE",
     .help = "at exit, write the state summary as JSON ('-' = standard output)",
     .set = [](Options& o, std::string_view value) { return SetFileName(o.dump, value); }},
    {.name = "--audio-out",
     .argument = "FILE",
     .help = "write the game's sound as a 16-bit stereo 48 kHz WAV file, also headless\n"
             "(the same bytes every run of the same game); it starts with the game's\n"
             "first frame, after the launcher",
     .set = [](Options& o, std::string_view value) { return SetFileName(o.audio_out, value); }},
    {.name = "--mute",
     .help = "start with the sound muted (M mutes and unmutes in play)",
     .set = [](Options& o, std::string_view) -> std::string_view {
       o.mute = true;
       return "";
     }},
    {.name = "--volume",
     .argument = "N",
     .help = "the sound's volume, 0 to 100 (default 100, or settings.txt's)",
     .set = [](Options& o, std::string_view value) -> std::string_view {
       const auto volume = ParseWhole<std::int64_t>(value);
       if (!volume || *volume < 0 || *volume > 100) {
         return "is not a volume: a whole number from 0 to 100";
       }
       o.volume = static_cast<int>(*volume);
       o.volume_given = true;
       return "";
     }},
    {.name = "--no-notices",
     .help = "no short notices over the picture (\"Shield on\", \"Muted\", ...)",
     .set = [](Options& o, std::string_view) -> std::string_view {
       o.notices = false;
       return "";
     }},
    {.name = "--no-record",
     .help = "keep no recording of this game in replays/ (every game played with a\n"
             "window or a page is kept there, the last 50)",
     .set = [](Options& o, std::string_view) -> std::string_view {
       o.no_record = true;
       return "";
     }},
    {.name = "--watch",
     .argument = "FILE",
     .help = "play a recording (a file, or a link made by Share or --link) as a film:\n"
             "pause, speed, frame step and a timeline; nothing is saved",
     .set = [](Options& o, std::string_view value) { return SetFileName(o.watch, value); }},
    {.name = "--verify",
     .argument = "FILE",
     .help = "replay a kept recording headless and print its result as JSON; exit 0\n"
             "when the result it claims is the one replayed, else 1 and the first\n"
             "difference",
     .set = [](Options& o, std::string_view value) { return SetFileName(o.verify, value); }},
    {.name = "--link",
     .argument = "FILE",
     .help = "print a link that plays this recording on the page at --site URL",
     .set = [](Options& o, std::string_view value) { return SetFileName(o.link, value); }},
    {.name = "--site",
     .argument = "URL",
     .help = "the address of the game's page, for --link",
     .set = [](Options& o, std::string_view value) -> std::string_view {
       o.site = std::string(value);
       return value.empty() ? "is not an address" : "";
     }},
    {.name = "--help",
     .alias = "-h",
     .help = "print this text and exit",
     .set = [](Options& o, std::string_view) -> std::string_view {
       o.help = true;
       return "";
     }},
    {.name = "--version",
     .help = "print the program's version and exit",
     .set = [](Options& o, std::string_view) -> std::string_view {
       o.version = true;
       return "";
     }},
});

}  // namespace

std::span<const CommandLineOption> CommandLineOptions() {
  return kOptions;
}

}  // namespace starvane
