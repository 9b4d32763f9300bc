#include "app/main_sequence.hpp"

#include <filesystem>
#include <string>
#include <variant>

#include "app/command_line.hpp"
#include "app/exit_status.hpp"
#include "app/link_command.hpp"
#include "app/session.hpp"
#include "app/text_output.hpp"
#include "app/verify.hpp"
#include "base/version.hpp"
#include "files/files.hpp"
#include "files/files_directory.hpp"
#include "files/output_file.hpp"
#include "files/path_text.hpp"
#include "media/message_log.hpp"
#include "media/quit_signal.hpp"
#include "media/real_screen.hpp"
#include "world/game.hpp"

namespace starvane {
namespace {

int RunOptions(const Options& options);

// One session, prepared, played and finished. `watch` receives the kept game that its launcher
// chose to watch instead of a game (empty when none).
int RunSession(const Options& options, std::filesystem::path& watch) {
  Session session;
  if (const auto status = PrepareSession(options, session)) return *status;
  Game game(*session.media);
  const PlayEnd end = PlaySession(game, options, session);
  watch = end.watch;
  return FinishSession(game, options, session, end);
}

// A session, and when its launcher chose a kept game from the Replays list: that game watched as
// `--watch FILE` watches one (through RunOptions, with the same files directory and screen
// options, and the dump and screenshot asked for), then the launcher again, until it starts a
// game or is closed. Each has a display of its own. Only a player's own launcher comes back: a
// scripted, recorded, headless or limited run ends with the film, and so does any run once a
// quit signal came.
int RunSessionAndChosenFilms(const Options& options) {
  for (;;) {
    std::filesystem::path watch;
    const int status = RunSession(options, watch);
    if (watch.empty()) return status;
    Options film = options;
    film.watch = TextOfPath(watch);
    film.launcher = false;
    film.seed.reset();  // the recording names its own seed, difficulty and ship
    film.difficulty.reset();
    film.ship.reset();
    film.input.reset();
    film.record.reset();
    film.audio_out.reset();
    const int watched = RunOptions(film);
    const bool players_own =
        !options.input && !options.record && !options.frames && !options.headless;
    if (!players_own || QuitSignalled()) return watched;
  }
}

// What a command line asks for, once read. A recording to watch is dispatched here, before any
// session, so that a kept game chosen in the launcher is watched as the command line's is.
int RunOptions(const Options& options) {
  return RunSessionAndChosenFilms(options);
}

int RunCommandLine(std::span<const std::string_view> args) {
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
  if (options.files) KeepMessagesIn(*options.files);
  if (options.help || options.version) {
    // Help that could not be written (a full disk, a closed output) is a failure, not success.
    const std::string text =
        options.help ? Usage() : "starvane " + std::string(GameVersion()) + "\n";
    std::string why;
    if (!WriteText("-", text, why))
      return Fail(kExitFailure, "cannot write to standard output (" + why + ")");
    return kExitOk;
  }
  if (options.link) return PrintRecordingLink(options);

  // From here on SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2 and SIGALRM end the game as
  // Escape would, at the end of a frame.
  CatchQuitSignals();
  if (options.verify) return VerifyRecording(options);
  if (const auto problem = ReplayOptionsProblem(options)) {
    return Fail(kExitBadCommandLine, *problem);
  }
  return RunOptions(options);
}

}  // namespace

int RunStarvane(std::span<const std::string_view> args) {
  // Before anything is written: a Windows game started without a console still has somewhere to
  // write to.
  ConnectStandardStreams();
  const int status = RunCommandLine(args);
  DisconnectRealScreens();
  // Messages of a run that ended before it knew the ship files' folder (a bad command line from
  // a shortcut) go to the log in the folder the game would have chosen.
  if (MessagesHeld()) {
    KeepMessagesIn(DefaultFilesDirectory(ProgramDirectory(), EnvironmentText).directory);
  }
  return status;
}

}  // namespace starvane
