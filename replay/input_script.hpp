#pragma once
// Input scripts, read and written: plain text, one entry per line, '#' starts a comment (except
// on a ship line, whose whole rest is the ship's name).
//
//   seed N | difficulty LEVEL | ship NAME     optional header lines, before the first event
//   generation N                              the rules the recording was played by (see
//                                             replay/rules_generation.hpp); without it, today's
//   version TEXT                              the program that made the recording (read, never
//                                             checked: the generation decides)
//   launcher                                  the events begin in the launcher, which chooses
//                                             the ship and the difficulty
//   F down KEY [KEY...]                       keys go down
//   F up KEY [KEY...]                         keys go up
//   F mouse DX DY                             relative mouse movement
//   F pointer X Y                             the pointer put at a screen position (windows)
//   F wheel N                                 the mouse wheel turned N steps (positive: up)
//   F type TEXT                               text typed: the rest of the line, '#' included
//   F press [BUTTON] | F release [BUTTON]     mouse button 1..3 (default 1) down or up
//   F focus lost                              the window lost the focus or was minimised: every
//                                             key goes up, and the game pauses
//   F end frames | F end closed               the game ends before frame F is drawn; the last line
//
// F counts presented frames: the event is in effect for every keyboard and mouse examination
// made after F frames have been presented. F never decreases from line to line.
//
// The end line is what a recording writes when its game ended by --frames ("frames": the replay
// ends as that game did, saving nothing) or by a closed window or a signal ("closed": the replay
// ends like Escape). A game that ended by Escape ends its replay by its own Escape events.
//
// The ship line keeps the name byte for byte: after "ship" one space or tab, then the name up to
// the end of the line, spaces at either end included.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "media/loop_end.hpp"
#include "replay/input_events.hpp"

namespace starvane {

struct InputScript {
  std::optional<std::uint64_t> seed;
  std::optional<float> difficulty;
  std::optional<std::string> ship;
  bool launcher = false;  // the game starts in the launcher, even headless
  std::vector<InputEvent> events;
  std::optional<ScriptEnd> end;
};

// "FILE:LINE: what is wrong".
struct InputScriptError {
  std::string message;
};

// A recording of another rules generation than this program's is refused like any mistake in
// it, its message naming both generations.
std::variant<InputScript, InputScriptError> ParseInputScript(std::string_view text,
                                                             std::string_view file_name);

// The largest script read: an hour of play recorded holds a few megabytes.
constexpr std::size_t kMostInputScriptBytes = 64u << 20;

// Reads and parses a script file. A file that cannot be read, anything but a regular file (a
// directory, a pipe, a device) and a file over kMostInputScriptBytes are errors too, each with
// its reason.
std::variant<InputScript, InputScriptError> LoadInputScript(const std::string& path);

// The header lines of a recording: the program's version, the rules' generation, and what makes
// its replay the same game.
std::string InputScriptHeader(std::uint64_t seed, float difficulty, const std::string& ship);
// The header of a recording that begins in the launcher: its events choose the ship and the
// difficulty, so a replay runs the launcher again (with the same ship list).
std::string InputScriptLauncherHeader(std::uint64_t seed);

// One event as a script line, with its line feed. Key codes without a name are written in
// decimal, code 0 as "00" (a single digit names that digit's key).
std::string InputEventLine(const InputEvent& event);

// Typed text as a script line can hold it: without its line ends (CR, LF). No text field takes
// a line end, so the game plays the same with or without them. The reader, the writer and the
// recorder all apply it, so that what is recorded replays exactly.
std::string TypedTextForScript(std::string_view text);

// The end line of a game that ended this way; "" for Escape, which ends by its own events.
std::string ScriptEndLine(const ScriptEnd& end);

}  // namespace starvane
