#include "app/main_sequence.hpp"

#include <string>
#include <variant>

#include "app/command_line.hpp"
#include "app/exit_status.hpp"
#include "app/link_command.hpp"
#include "app/session.hpp"
#include "app/text_output.hpp"
#include "base/version.hpp"
#include "files/files.hpp"
#include "files/files_directory.hpp"
#include "files/output_file.hpp"
#include "files/path_text.hpp"
#include "media/message_log.hpp"
#include "media/quit_signal.hpp"
#include "world/game.hpp"

namespace starvane {
namespace {

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
  Session session;
  if (const auto status = PrepareSession(options, session)) return *status;
  Game game(*session.media);
  const PlayEnd end = PlaySession(game, options, session);
  return FinishSession(game, options, session, end);
}

}  // namespace

int RunStarvane(std::span<const std::string_view> args) {
  // Before anything is written: a Windows game started without a console still has somewhere to
  // write to.
  ConnectStandardStreams();
  const int status = RunCommandLine(args);
  // Messages of a run that ended before it knew the ship files' folder (a bad command line from
  // a shortcut) go to the log in the folder the game would have chosen.
  if (MessagesHeld()) {
    KeepMessagesIn(DefaultFilesDirectory(ProgramDirectory(), EnvironmentText).directory);
  }
  return status;
}

}  // namespace starvane
