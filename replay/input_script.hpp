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
//   date TEXT                                 when the game began (UTC, 2026-12-10T13:40:05Z),
//                                             for the lists of kept games; never checked
//   shipfile [BASE64]                         the ship file's bytes when the game began (none:
//                                             it began without one); its replay flies these
//                                             and never reads or writes the files directory's
//   held KEY [KEY...]                         keys already held when the game began
//   F down KEY [KEY...]                       keys go down
//   F up KEY [KEY...]                         keys go up
//   F mouse DX DY                             relative mouse movement
//   F pointer X Y                             the pointer put at a screen position (windows)
//   F wheel N                                 the mouse wheel turned N steps (positive: up)
//   F type TEXT                               text typed: the rest of the line, '#' included
//   F press [BUTTON] | F release [BUTTON]     mouse button 1..3 (default 1) down or up
//   F focus lost                              the window lost the focus or was minimised: every
//                                             key goes up, and the game pauses
//   F end frames | F end closed               the game ends before frame F is drawn; the last
//                                             event line
//   result frames N moneyStart ... frameHash H  what the recorded game came to
//                                             (replay/recording_result.hpp), after every event
//
// F counts presented frames: the event is in effect for every keyboard and mouse examination
// made after F frames have been presented. F never decreases from line to line.
//
// The end line is what a recording writes when its game ended by --frames ("frames": the replay
// ends as that game did, saving nothing) or by a closed window or a signal ("closed": the replay
// ends like Escape). A game that ended by Escape ends its replay by its own Escape events.
//
// A recording kept by the game writes and flushes each whole line as it goes, so one cut by a
// crash ends in a part of a line: in a script with a shipfile line (only kept recordings have
// one) an unterminated last line is dropped. Hand-written scripts keep their last line.
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
#include "replay/recording_result.hpp"

namespace starvane {

struct InputScript {
  std::optional<std::uint64_t> seed;
  std::optional<float> difficulty;
  std::optional<std::string> ship;
  bool launcher = false;                 // the game starts in the launcher, even headless
  std::optional<std::string> date;       // when the game began, as written
  std::optional<std::string> ship_file;  // the ship file's bytes; "" for a game without one
  std::vector<int> held;                 // keys held when the game began
  std::vector<InputEvent> events;
  std::optional<ScriptEnd> end;
  std::optional<RecordingResult> result;
};

// The most bytes a shipfile line holds: as many as a ship file may have.
constexpr std::size_t kMostShipFileBytes = 64 * 1024;

// How many frames the recorded game lasted: its end line's frame, else its result's frames,
// else its last event's frame (0 without events).
std::int64_t RecordingLength(const InputScript& script);

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
// The file's bytes, read as LoadInputScript reads them, not yet parsed.
std::variant<std::string, InputScriptError> ReadInputScriptFile(const std::string& path);

// The header lines of a recording: the program's version, the rules' generation, and what makes
// its replay the same game.
std::string InputScriptHeader(std::uint64_t seed, float difficulty, const std::string& ship);
// The header of a recording that begins in the launcher: its events choose the ship and the
// difficulty, so a replay runs the launcher again (with the same ship list).
std::string InputScriptLauncherHeader(std::uint64_t seed);

// The header of a game kept in replays/: the program, the rules, when it began, what makes its
// replay the same game (the seed, the difficulty, the ship and the bytes of its file), the keys
// held at its start and where the pointer was (a "0 pointer" event), so that the first
// examinations of its replay find what the game's did.
struct KeptStart {
  std::uint64_t seed = 0;
  float difficulty = 1.0f;
  std::string ship;
  std::string date;
  std::optional<std::string> ship_file;  // nothing: the game began without a ship file
  std::vector<int> held;
  int pointer_x = 0;
  int pointer_y = 0;
};
std::string KeptRecordingHeader(const KeptStart& start);

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
