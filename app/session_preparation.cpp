// Preparing a session: everything that can refuse or fail before the game begins.

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <variant>

#include "app/exit_status.hpp"
#include "app/output_over_game_file.hpp"
#include "app/session.hpp"
#include "app/settings.hpp"
#include "app/verify.hpp"
#include "files/files.hpp"
#include "files/files_directory.hpp"
#include "files/output_file.hpp"
#include "files/path_text.hpp"
#include "media/keys.hpp"
#include "media/message_log.hpp"
#include "media/quit_signal.hpp"
#include "media/real_screen.hpp"
#include "replay/input_events.hpp"
#include "replay/input_recorder.hpp"
#include "replay/input_script.hpp"
#include "replay/recording_text.hpp"

namespace starvane {
namespace {

// Whether the script ends the game by itself: an end line, or Escape going down.
bool ScriptEndsTheGame(const InputScript& script) {
  if (script.end) return true;
  for (const InputEvent& event : script.events) {
    if (event.type != InputEvent::Type::KeysDown) continue;
    for (int key : event.keys) {
      if (key == kKeyEscape) return true;
    }
  }
  return false;
}

// Where ships.txt and the ship files live: the directory given, or the program's own, or the
// player's data directory when the program's cannot be written.
std::filesystem::path ChooseFilesDirectory(const Options& options) {
  if (options.files) return *options.files;
  FilesDirectoryChoice choice = DefaultFilesDirectory(ProgramDirectory(), EnvironmentText);
  if (!choice.notice.empty()) std::fprintf(stderr, "starvane: %s\n", choice.notice.c_str());
  return std::move(choice.directory);
}

// The launcher chooses the ship and the difficulty unless the difficulty is already chosen on
// the command line; headless it runs only when asked for (or when the script was recorded in
// it), and a script that names the difficulty skips it too.
bool StartsInLauncher(const Options& options, const InputScript& script) {
  if (options.difficulty) return false;
  if (options.launcher || script.launcher) return true;
  return !options.headless && !script.difficulty;
}

// Where the replay of a kept recording begins: the keys its game began with held, and the
// pointer where its first event (a "0 pointer" line) puts it. Nothing else has such a start.
void TakeKeptStart(const InputScript& script, Session& session) {
  // An empty line: the game began without a ship file, as a new ship.
  session.ship_file.emplace();
  if (!script.ship_file->empty()) session.ship_file->emplace(*script.ship_file);
  for (int key : script.held) session.held[static_cast<std::size_t>(key)] = 1;
  if (!script.events.empty() && script.events.front().frame == 0 &&
      script.events.front().type == InputEvent::Type::Pointer) {
    session.pointer = {script.events.front().dx, script.events.front().dy};
  }
}

}  // namespace

std::optional<int> PrepareSession(const Options& options, Session& session) {
  InputScript script;
  // The recording played: --input's, or --watch's, unless the caller read it already.
  const std::optional<std::string> input_path = options.input ? options.input : options.watch;
  session.scripted = session.script || input_path;
  if (session.script) {
    script = std::move(*session.script);
    session.script.reset();
  } else if (input_path) {
    auto loaded = LoadRecording(*input_path);  // a file, or a link
    // A signal while the script was read (say from a pipe) ends the program before play; the
    // read it interrupted is no mistake of the script.
    if (QuitSignalled()) return kExitOk;
    if (const auto* error = std::get_if<InputScriptError>(&loaded)) {
      return Fail(kExitBadCommandLine, error->message);
    }
    script = std::move(std::get<InputScript>(loaded));
  }
  // Watching and checking write nothing of the player's, but a game begun in the launcher may
  // add a name to ships.txt and takes its ship: that recording is replayed with --input.
  if ((options.watch || options.verify) && script.launcher) {
    return Fail(kExitBadCommandLine,
                "the recording begins in the launcher: replay it with --headless --input");
  }
  // The command line wins over the script's header, and both over the launcher. A game that
  // starts without the launcher and without these choices plays on easy with the ship MyShip.
  session.seed = options.seed  ? *options.seed
                 : script.seed ? *script.seed
                               : FreshSeed();  // the clock only when no seed is given
  session.difficulty = options.difficulty.value_or(script.difficulty.value_or(1.0f));
  session.ship = options.ship.value_or(script.ship.value_or("MyShip"));
  session.launcher = StartsInLauncher(options, script);
  session.writes_nothing = options.watch || options.verify || script.ship_file;
  if (script.ship_file) TakeKeptStart(script, session);
  session.keep = KeepsTheGame(options);
  const std::filesystem::path file_directory = ChooseFilesDirectory(options);
  KeepMessagesIn(file_directory);  // a Windows game without a console: starvane.log goes there
  if (const auto refused = OutputOverGameFile(options, file_directory, session.ship)) {
    return Fail(kExitBadCommandLine, *refused);
  }

  if (!options.headless && !session.scripted) {
    OptionsPage& page = session.options.emplace();
    page.directory = file_directory;
    page.saved = ReadSettingsFile(file_directory);
    page.run = ChoicesForTheRun(page.saved.choices, options);
  }
  std::unique_ptr<Display> display;
  if (!options.headless) {
    std::string why;
    display = ConnectRealScreen(session.options ? session.options->run.screen
                                                : ScreenOptions{options.window, options.scale},
                                why);
    if (!display) {
      return Fail(kExitFailure,
                  "no display available (" + why + "); use --headless to run without a screen");
    }
  } else if (!options.frames && !session.scripted) {
    std::fputs(
        "starvane: headless with neither --frames nor --input runs until stopped "
        "(Ctrl+C)\n",
        stderr);
  }
  if (options.input && !options.frames && !ScriptEndsTheGame(script)) {
    std::fputs(
        "starvane: the input script has no end (no 'end' line, no Escape) and --frames is not "
        "given: the game runs until stopped (Ctrl+C)\n",
        stderr);
  }
  // A recording played to be watched or checked ends where it ends, even one cut short.
  const bool ends_at_its_length =
      (options.watch || options.verify) && !options.frames && !ScriptEndsTheGame(script);
  const std::int64_t length = RecordingLength(script);
  std::unique_ptr<InputSource> scripted;
  if (session.scripted) {
    scripted = std::make_unique<ScriptedInput>(std::move(script.events), script.end, session.held);
  }
  Media& media = session.media.emplace(file_directory, std::move(display), std::move(scripted));
  if (session.options) media.SetKeyBindings(session.options->run.keys);
  if (options.frames) media.SetFrameLimit(*options.frames);
  if (ends_at_its_length) media.SetFrameLimit(length);
  if (session.writes_nothing) media.TakeNoScreenshots();
  if (options.record) {
    // A game that begins in the launcher is replayed through it, not by its choices.
    auto recorder = InputRecorder::Create(
        PathOfText(*options.record),
        session.launcher ? InputScriptLauncherHeader(session.seed)
                         : InputScriptHeader(session.seed, session.difficulty, session.ship));
    if (!recorder) return CannotWrite("the recording", *options.record, OutputErrorText(errno));
    media.RecordInputTo(std::move(recorder));
  }
  if (options.audio_out) {
    std::string why;
    session.audio_out = WavRecording::Create(*options.audio_out, why);
    if (!session.audio_out) return CannotWrite("the sound", *options.audio_out, why);
  }
  return std::nullopt;
}

}  // namespace starvane
