#include "replay/input_script.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/text_numbers.hpp"
#include "base/text_quoting.hpp"
#include "base/version.hpp"
#include "files/input_file.hpp"
#include "media/keys.hpp"
#include "media/quit_signal.hpp"
#include "replay/base64.hpp"
#include "replay/rules_generation.hpp"
#include "replay/script_words.hpp"
#include "world/game_choices.hpp"

namespace starvane {
namespace {

// What follows the word (a view into the line) and one space or tab after it, to the end of
// the line, byte for byte.
std::string_view RestOfLine(std::string_view line, std::string_view word) {
  std::string_view rest =
      line.substr(static_cast<std::size_t>(word.data() - line.data()) + word.size());
  if (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  return rest;
}

// Parses one event line; returns the problem, or nothing when the line is good.
std::optional<std::string> ParseEvent(const std::vector<std::string_view>& words,
                                      InputEvent& event) {
  const std::string_view verb = words[1];
  const std::size_t extra = words.size() - 2;
  if (verb == "down" || verb == "up") {
    event.type = verb == "down" ? InputEvent::Type::KeysDown : InputEvent::Type::KeysUp;
    if (extra == 0) return Quoted(verb) + " needs at least one key";
    for (std::size_t i = 2; i < words.size(); ++i) {
      const auto key = KeyByName(words[i]);
      if (!key) return "unknown key " + Quoted(words[i]) + " (a key name or a code 0..255)";
      event.keys.push_back(*key);
    }
    return {};
  }
  if (verb == "mouse" || verb == "pointer") {
    // A movement (DX DY) or a position (X Y): two whole numbers either way.
    const bool move = verb == "mouse";
    event.type = move ? InputEvent::Type::MouseMove : InputEvent::Type::Pointer;
    if (extra != 2) return Quoted(verb) + " needs two numbers, " + (move ? "DX and DY" : "X and Y");
    const auto first = ParseWhole<int>(words[2]);
    const auto second = ParseWhole<int>(words[3]);
    if (!first || !second) {
      return Quoted(verb) + " needs two whole numbers, not " + Quoted(words[first ? 3 : 2]);
    }
    event.dx = *first;
    event.dy = *second;
    return {};
  }
  if (verb == "wheel") {
    event.type = InputEvent::Type::Wheel;
    const auto steps = extra == 1 ? ParseWhole<int>(words[2]) : std::nullopt;
    if (!steps) return std::string("'wheel' needs one whole number of steps");
    event.dx = *steps;
    return {};
  }
  if (verb == "press" || verb == "release") {
    event.type = verb == "press" ? InputEvent::Type::ButtonPress : InputEvent::Type::ButtonRelease;
    if (extra > 1) return Quoted(verb) + " takes at most one button";
    if (extra == 1) {
      const auto button = ParseWhole<int>(words[2]);
      if (!button || *button < 1 || *button > 3) {
        return "unknown mouse button " + Quoted(words[2]) + " (1, 2 or 3)";
      }
      event.button = *button;
    }
    return {};
  }
  if (verb == "focus") {
    event.type = InputEvent::Type::FocusLost;
    if (extra != 1 || words[2] != "lost") return std::string("'focus' is written 'focus lost'");
    return {};
  }
  return "unknown event " + Quoted(verb) +
         " (down, up, mouse, pointer, wheel, press, release, type, focus or end)";
}

// Parses an end line; returns the problem, or nothing when the line is good.
std::optional<std::string> ParseEnd(const std::vector<std::string_view>& words, ScriptEnd& end) {
  if (words.size() == 3 && words[2] == "frames") {
    end.reason = LoopEnd::FrameLimit;
  } else if (words.size() == 3 && words[2] == "closed") {
    end.reason = LoopEnd::Closed;
  } else {
    return std::string("'end' needs how the game ended: frames or closed");
  }
  return {};
}

// Why a recording of this rules generation cannot be played; nothing when it is this program's.
// A recording replays its game only under the rules it was played by, so any other generation
// is refused rather than played as a different game.
std::optional<std::string> GenerationProblem(std::uint64_t generation) {
  const auto ours = static_cast<std::uint64_t>(kRulesGeneration);
  if (generation == ours) return {};
  const std::string named =
      "the recording is of the game's rules generation " + std::to_string(generation) + ", ";
  if (generation > ours) {
    return named + "newer than this program's (" + std::to_string(ours) +
           "): it needs a newer Starvane";
  }
  return named + "which this program (generation " + std::to_string(ours) +
         ") no longer plays: it needs the Starvane it was recorded with";
}

// Parses one header line; returns the problem, or nothing when the line is good.
std::optional<std::string> ParseHeader(std::string_view line,
                                       const std::vector<std::string_view>& words,
                                       InputScript& script) {
  const std::string_view name = words[0];
  if (name == "ship") {
    // The name is the rest of the line after one separator, byte for byte, as a recording
    // writes it: spaces at either end are part of the name, and so is an empty rest.
    const std::string_view ship = RestOfLine(line, name);
    // A carriage return left inside (the line's own CR LF end is already gone) would not come
    // back the same from a recording, and no ship list line can hold one.
    if (!IsValidShipName(ship)) return std::string("a ship name cannot hold a line end");
    script.ship = std::string(ship);
    return {};
  }
  if (name == "launcher") {
    if (words.size() != 1) return std::string("'launcher' takes no value");
    script.launcher = true;
    return {};
  }
  if (name == "version") {
    // The program that made the recording, for the people who read it: any program of the same
    // rules generation replays it alike, so the version is never checked.
    if (words.size() < 2) return std::string("'version' needs the program's version");
    return {};
  }
  if (name == "shipfile") {
    // Nothing after the word: the game began without a ship file, as a new ship.
    if (words.size() > 2) return std::string("'shipfile' takes one base64 text");
    if (words.size() == 1) {
      script.ship_file = std::string();
      return {};
    }
    script.ship_file = DecodeBase64(words[1], kMostShipFileBytes);
    if (!script.ship_file) {
      return "the ship file is not strict base64 of at most " +
             std::to_string(kMostShipFileBytes / 1024) + " KiB";
    }
    return {};
  }
  if (name == "held") {
    if (words.size() < 2) return std::string("'held' needs at least one key");
    for (std::size_t i = 1; i < words.size(); ++i) {
      const auto key = KeyByName(words[i]);
      if (!key) return "unknown key " + Quoted(words[i]) + " (a key name or a code 0..255)";
      script.held.push_back(*key);
    }
    return {};
  }
  if (words.size() != 2) return Quoted(name) + " needs one value";
  if (name == "date") {
    // For the lists of kept games, never checked: any one word.
    script.date = std::string(words[1]);
    return {};
  }
  if (name == "seed") {
    script.seed = ParseWhole<std::uint64_t>(words[1]);
    if (!script.seed) return "the seed " + Quoted(words[1]) + " is not a whole number";
    return {};
  }
  if (name == "difficulty") {
    script.difficulty = ParseDifficulty(words[1]);
    if (!script.difficulty) return Quoted(words[1]) + " is not a difficulty";
    return {};
  }
  if (name == "generation") {
    // Only a recording names its generation; a script without the line is of today's rules.
    const auto generation = ParseWhole<std::uint64_t>(words[1]);
    if (!generation) return "the generation " + Quoted(words[1]) + " is not a whole number";
    return GenerationProblem(*generation);
  }
  return "unknown line " + Quoted(name) +
         " (seed, difficulty, ship, launcher, generation, version, date, shipfile, held, result, "
         "or a frame number)";
}

}  // namespace

std::variant<InputScript, InputScriptError> ParseInputScript(std::string_view text,
                                                             std::string_view file_name) {
  InputScript script;
  std::int64_t last_frame = 0;
  int line_number = 0;
  while (!text.empty()) {
    ++line_number;
    const std::size_t end = text.find('\n');
    // The last line of a kept recording cut by a crash is a part of a line.
    if (end == std::string_view::npos && script.ship_file) break;
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view whole_line = line;
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
      line = line.substr(0, hash);
    }
    const std::vector<std::string_view> words = ScriptWords(line);
    if (words.empty()) continue;

    auto fail = [&](const std::string& why) {
      return InputScriptError{std::string(file_name) + ":" + std::to_string(line_number) + ": " +
                              why};
    };
    if (script.result) return fail("nothing may follow the 'result' line");
    if (words[0] == "result") {
      RecordingResult result;
      if (auto problem = ParseResultWords({words.begin() + 1, words.end()}, result)) {
        return fail(*problem);
      }
      script.result = result;
      continue;
    }
    const auto frame = ParseWhole<std::int64_t>(words[0]);
    if (!frame) {
      const bool looks_numeric =
          words[0].find_first_not_of("-+0123456789") == std::string_view::npos;
      if (looks_numeric) return fail(Quoted(words[0]) + " is not a frame number");
      if (!script.events.empty() || script.end) {
        return fail(Quoted(words[0]) + " must come before the events");
      }
      // A ship line takes the rest of the whole line as the name, '#' included, so that every
      // ship name a recording writes reads back the same.
      if (auto problem = ParseHeader(whole_line, words, script)) return fail(*problem);
      continue;
    }
    if (*frame < 0) return fail("the frame number " + Quoted(words[0]) + " is negative");
    if (*frame < last_frame) {
      return fail("frame " + std::to_string(*frame) + " comes after frame " +
                  std::to_string(last_frame) + ": frame numbers never decrease");
    }
    if (words.size() < 2) return fail("an event is missing after the frame number");
    if (script.end) return fail("nothing may follow the 'end' line");
    if (words[1] == "end") {
      ScriptEnd ending;
      ending.frame = *frame;
      if (auto problem = ParseEnd(words, ending)) return fail(*problem);
      last_frame = *frame;
      script.end = ending;
      continue;
    }
    InputEvent event;
    event.frame = *frame;
    if (words[1] == "type") {
      // The text is the rest of the whole line after one separator, '#' and blanks included.
      event.type = InputEvent::Type::Type;
      event.text = TypedTextForScript(RestOfLine(whole_line, words[1]));
      if (event.text.empty()) return fail("'type' needs the text typed");
    } else if (auto problem = ParseEvent(words, event)) {
      return fail(*problem);
    }
    last_frame = *frame;
    script.events.push_back(std::move(event));
  }
  return script;
}

std::variant<std::string, InputScriptError> ReadInputScriptFile(const std::string& path) {
  auto refused = [&path](const std::string& why) { return InputScriptError{path + ": " + why}; };
  // Opened without blocking, so that a pipe with no writer cannot hold up even the open; then
  // only a regular file is read. A pipe or a device (/dev/zero) could keep the program waiting
  // for ever or fill its memory, and a script is never anything but a file.
  const int fd = OpenInputWithoutWaiting(path);
  if (fd < 0 && errno == EISDIR) return refused("is a directory, not an input script");
  if (fd < 0) return refused("cannot read the input script (" + ErrnoText(errno) + ")");
  struct stat file {};
  if (fstat(fd, &file) != 0 || !S_ISREG(file.st_mode)) {
    const bool directory = S_ISDIR(file.st_mode);
    close(fd);
    return refused(directory ? "is a directory, not an input script"
                             : "is not a regular file (a pipe or a device), not an input script");
  }
  if (file.st_size > static_cast<off_t>(kMostInputScriptBytes)) {
    close(fd);
    return refused("is larger than 64 MiB, too large for an input script");
  }
  std::string text;
  std::array<char, 65536> buffer;
  int error = 0;
  // The read looks at the quit flag between its pieces, so a signal ends even a slow read.
  while (!QuitSignalled()) {
    const ssize_t got = read(fd, buffer.data(), buffer.size());
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      error = errno;
      break;
    }
    text.append(buffer.data(), static_cast<std::size_t>(got));
    // A file that grows while it is read is held to the same limit.
    if (text.size() > kMostInputScriptBytes) {
      close(fd);
      return refused("is larger than 64 MiB, too large for an input script");
    }
  }
  close(fd);
  if (error != 0) return refused("cannot read the input script (" + ErrnoText(error) + ")");
  return text;
}

std::variant<InputScript, InputScriptError> LoadInputScript(const std::string& path) {
  auto text = ReadInputScriptFile(path);
  if (auto* error = std::get_if<InputScriptError>(&text)) return std::move(*error);
  return ParseInputScript(std::get<std::string>(text), path);
}

namespace {

// The first lines of every recording: what it is, the program that made it, and the rules it
// was played by.
std::string RecordingIntro() {
  return "# Starvane input recording: play it back with --headless --input FILE\nversion " +
         std::string(GameVersion()) + "\ngeneration " + std::to_string(kRulesGeneration) + "\n";
}

}  // namespace

std::string InputScriptHeader(std::uint64_t seed, float difficulty, const std::string& ship) {
  return RecordingIntro() + "seed " + std::to_string(seed) + "\ndifficulty " +
         FloatToText(difficulty) + "\nship " + ship + "\n";
}

std::string InputScriptLauncherHeader(std::uint64_t seed) {
  return RecordingIntro() + "seed " + std::to_string(seed) + "\nlauncher\n";
}

std::string KeptRecordingHeader(const KeptStart& start) {
  std::string header =
      "# Starvane recording: watch it with --watch FILE, check it with --verify FILE\n"
      "version " +
      std::string(GameVersion()) + "\ngeneration " + std::to_string(kRulesGeneration) + "\ndate " +
      start.date + "\nseed " + std::to_string(start.seed) + "\ndifficulty " +
      FloatToText(start.difficulty) + "\nship " + start.ship + "\nshipfile";
  if (start.ship_file) header += " " + EncodeBase64(*start.ship_file);
  header += "\n";
  if (!start.held.empty()) {
    header += "held";
    for (int key : start.held) {
      header += ' ';
      header += KeyName(key);
    }
    header += "\n";
  }
  return header + "0 pointer " + std::to_string(start.pointer_x) + " " +
         std::to_string(start.pointer_y) + "\n";
}

std::int64_t RecordingLength(const InputScript& script) {
  if (script.end) return script.end->frame;
  if (script.result) return script.result->frames;
  return script.events.empty() ? 0 : script.events.back().frame;
}

std::string InputEventLine(const InputEvent& event) {
  std::string line = std::to_string(event.frame);
  switch (event.type) {
    case InputEvent::Type::KeysDown:
    case InputEvent::Type::KeysUp:
      line += event.type == InputEvent::Type::KeysDown ? " down" : " up";
      for (int key : event.keys) {
        line += ' ';
        line += KeyName(key);
      }
      break;
    case InputEvent::Type::MouseMove:
      line += " mouse " + std::to_string(event.dx) + " " + std::to_string(event.dy);
      break;
    case InputEvent::Type::ButtonPress:
    case InputEvent::Type::ButtonRelease:
      line += event.type == InputEvent::Type::ButtonPress ? " press " : " release ";
      line += std::to_string(event.button);
      break;
    case InputEvent::Type::Pointer:
      line += " pointer " + std::to_string(event.dx) + " " + std::to_string(event.dy);
      break;
    case InputEvent::Type::Wheel:
      line += " wheel " + std::to_string(event.dx);
      break;
    case InputEvent::Type::Type:
      line += " type " + TypedTextForScript(event.text);
      break;
    case InputEvent::Type::FocusLost:
      line += " focus lost";
      break;
  }
  return line + "\n";
}

std::string TypedTextForScript(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (c != '\n' && c != '\r') kept += c;
  }
  return kept;
}

std::string ScriptEndLine(const ScriptEnd& end) {
  switch (end.reason) {
    case LoopEnd::FrameLimit:
      return std::to_string(end.frame) + " end frames\n";
    case LoopEnd::Closed:
      return std::to_string(end.frame) + " end closed\n";
    case LoopEnd::Escape:
    case LoopEnd::Seek:  // no game ends by a film's seek
      break;
  }
  return "";
}

}  // namespace starvane
