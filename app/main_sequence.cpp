#include "app/main_sequence.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "app/command_line.hpp"
#include "app/frame_loop.hpp"
#include "app/launcher.hpp"
#include "app/notices.hpp"
#include "app/output_over_game_file.hpp"
#include "app/startup.hpp"
#include "app/state_summary.hpp"
#include "base/text_quoting.hpp"
#include "files/files.hpp"
#include "files/files_directory.hpp"
#include "files/output_file.hpp"
#include "media/bmp.hpp"
#include "media/keys.hpp"
#include "media/media.hpp"
#include "media/quit_signal.hpp"
#include "media/real_screen.hpp"
#include "replay/input_events.hpp"
#include "replay/input_recorder.hpp"
#include "replay/input_script.hpp"
#include "sound/game_sound.hpp"
#include "sound/wav_file.hpp"
#include "workshop/ship_file.hpp"
#include "world/game.hpp"
#include "world/world_generation.hpp"

namespace starvane {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitBadCommandLine = 2;

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "starvane: %s\n", message.c_str());
  return status;
}

int CannotWrite(const std::string& what, const std::string& path, const std::string& why) {
  return Fail(kExitFailure, "cannot write " + what + " to " + Quoted(path) + " (" + why + ")");
}

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

// Writes the text to the file ('-': standard output); false with the reason when it could not.
bool WriteText(const std::string& path, const std::string& text, std::string& why) {
  errno = 0;
  bool written = false;
  if (path == "-") {
    written =
        std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
  } else {
    return WriteWholeOutput(path, text, why);
  }
  if (!written) why = ErrnoText(errno != 0 ? errno : EIO);
  return written;
}

// Where ships.txt and the ship files live: the directory given, or the program's own, or the
// player's data directory when the program's cannot be written.
std::filesystem::path ChooseFilesDirectory(const Options& options) {
  if (options.files) return *options.files;
  FilesDirectoryChoice choice =
      DefaultFilesDirectory(ProgramDirectory(), [](const char* name) { return std::getenv(name); });
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

// Everything the game writes at its end, each even when another fails: the ship (unless the
// game was ended by --frames, or never began), then the recording, the screenshot and the dump.
int FinishGame(Game& game, const Options& options, LoopEnd end, bool played) {
  Media& media = game.media;
  int status = kExitOk;
  if (played && end != LoopEnd::FrameLimit) {
    if (const std::string problem = SaveShip(game); !problem.empty()) {
      status = Fail(kExitFailure, problem);
    }
  }
  std::string why;
  if (!media.FinishRecording(end, &why)) {
    status = CannotWrite("the recording", *options.record, why);
  }
  if (options.screenshot && !WriteBmp(*options.screenshot, media.Screen, why)) {
    status = CannotWrite("the screenshot", *options.screenshot, why);
  }
  if (options.dump && !WriteText(*options.dump, StateSummary(game, media.FramesPresented()), why)) {
    status = CannotWrite("the state summary", *options.dump, why);
  }
  return status;
}

}  // namespace

int RunStarvane(std::span<const std::string_view> args) {
  // A write to a pipe whose reader is gone, or past the file size limit, fails like a full disk
  // instead of killing the program with the ship unsaved.
  IgnoreWriteSignals();
  // A standard output or error that was closed is written to as one, never into a file opened
  // later under its number.
  TakeClosedStandardStreams();
  const auto parsed = ParseCommandLine(args);
  if (const auto* error = std::get_if<CommandLineError>(&parsed)) {
    return Fail(kExitBadCommandLine, error->message);
  }
  const Options& options = std::get<Options>(parsed);
  if (options.help || options.version) {
    // Help that could not be written (a full disk, a closed output) is a failure, not success.
    const std::string text = options.help ? Usage() : "starvane " STARVANE_VERSION "\n";
    std::string why;
    if (!WriteText("-", text, why))
      return Fail(kExitFailure, "cannot write to standard output (" + why + ")");
    return kExitOk;
  }

  // From here on SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2 and SIGALRM end the game as
  // Escape would, at the end of a frame.
  CatchQuitSignals();

  InputScript script;
  if (options.input) {
    auto loaded = LoadInputScript(*options.input);
    // A signal while the script was read (say from a pipe) ends the program before play; the
    // read it interrupted is no mistake of the script.
    if (QuitSignalled()) return kExitOk;
    if (const auto* error = std::get_if<InputScriptError>(&loaded)) {
      return Fail(kExitBadCommandLine, error->message);
    }
    script = std::move(std::get<InputScript>(loaded));
  }
  // The command line wins over the script's header, and both over the launcher. A game that
  // starts without the launcher and without these choices plays on easy with the ship MyShip.
  const std::uint64_t seed = options.seed  ? *options.seed
                             : script.seed ? *script.seed
                                           : FreshSeed();  // the clock only when no seed is given
  const float difficulty = options.difficulty.value_or(script.difficulty.value_or(1.0f));
  const std::string ship = options.ship.value_or(script.ship.value_or("MyShip"));
  const bool launcher = StartsInLauncher(options, script);
  const std::filesystem::path file_directory = ChooseFilesDirectory(options);
  if (const auto refused = OutputOverGameFile(options, file_directory, ship)) {
    return Fail(kExitBadCommandLine, *refused);
  }

  std::unique_ptr<Display> display;
  if (!options.headless) {
    std::string why;
    display = ConnectRealScreen({options.window, options.scale}, why);
    if (!display) {
      return Fail(kExitFailure,
                  "no display available (" + why + "); use --headless to run without a screen");
    }
  } else if (!options.frames && !options.input) {
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
  std::unique_ptr<InputSource> scripted;
  if (options.input) {
    scripted = std::make_unique<ScriptedInput>(std::move(script.events), script.end);
  }
  Media media(file_directory, std::move(display), std::move(scripted));
  if (options.frames) media.SetFrameLimit(*options.frames);
  if (options.record) {
    // A game that begins in the launcher is replayed through it, not by its choices.
    auto recorder = InputRecorder::Create(
        *options.record,
        launcher ? InputScriptLauncherHeader(seed) : InputScriptHeader(seed, difficulty, ship));
    if (!recorder) return CannotWrite("the recording", *options.record, OutputErrorText(errno));
    media.RecordInputTo(std::move(recorder));
  }
  std::unique_ptr<WavRecording> audio_out;
  if (options.audio_out) {
    std::string why;
    audio_out = WavRecording::Create(*options.audio_out, why);
    if (!audio_out) return CannotWrite("the sound", *options.audio_out, why);
  }
  // The sound file is finished however the program ends from here (a game that never began is
  // an empty sound), and a write that failed fails the exit.
  const auto finish_sound = [&](int status) {
    if (std::string why; audio_out && !audio_out->Finish(why)) {
      return CannotWrite("the sound", *options.audio_out, why);
    }
    return status;
  };

  Game game(media);
  Startup(game, seed);
  if (launcher) {
    // Closing the launcher ends the program before any world or ship file exists. The ship it
    // chose is held for this game; a ship named on the command line is taken below instead.
    if (const auto end = RunLauncher(game)) {
      return finish_sound(FinishGame(game, options, *end, false));
    }
  } else {
    game.Difficulty = difficulty;
  }
  if (!launcher || options.ship) {
    game.ShipName = ship;
    // One ship, one game: a second game on the same ship would save over the first one's.
    std::string why;
    if (!media.LockShip(ShipFileName(game.ShipName), why)) {
      return finish_sound(Fail(kExitFailure, "ship " + Quoted(game.ShipName) + " " + why));
    }
    if (!why.empty()) std::fprintf(stderr, "starvane: %s\n", why.c_str());
  }
  GenerateWorld(game);

  if (!SetupMedia(game)) return finish_sound(Fail(kExitFailure, "cannot open the screen"));
  if (const std::string warning = LoadShip(game); !warning.empty()) {
    std::fprintf(stderr, "starvane: %s\n", warning.c_str());
  }
  // A browser's page may be closed unannounced: hidden, it saves the ship as Escape would then
  // (a game ended by --frames saves nothing, so neither does its page).
  if (!options.frames) media.SaveShipWhenHidden([&game] { return SaveShip(game); });
  // The game is heard on a real screen, and written when asked, from its first frame on (the
  // launcher is silent).
  GameSound sound(game, {options.volume, options.mute}, audio_out.get());
  if (!options.headless || audio_out) sound.Play();
  // A new ship's first game in a real window opens on the controls, once. The press is the
  // player's own as far as the recording goes, so its replay opens on them too; headless games
  // and scripted ones show them only when F1 is pressed.
  if (game.ShipIsNew && !options.headless && !options.input) media.PressKeyOnce(kKeyF1);
  // Escape, a closed window and the quit signals end the game alike and save the ship; only
  // --frames ends it the way a program stopped from outside would, and that saves nothing.
  std::optional<Notices> notices;
  if (options.notices) notices.emplace(game, &sound);
  const LoopEnd end = RunFrameLoop(game, notices ? &*notices : nullptr);
  return finish_sound(FinishGame(game, options, end, true));
}

}  // namespace starvane
