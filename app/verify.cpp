#include "app/verify.hpp"

#include <string_view>
#include <utility>

#include "app/exit_status.hpp"
#include "app/session.hpp"
#include "app/text_output.hpp"
#include "media/quit_signal.hpp"
#include "replay/recording_text.hpp"
#include "world/game.hpp"

namespace starvane {
std::optional<std::string> ReplayOptionsProblem(const Options& options) {
  if (!options.verify && !options.watch) return std::nullopt;
  const std::string what = options.verify ? "--verify" : "--watch";
  if (options.verify && options.watch) return std::string("--verify and --watch go alone");
  // The recording decides the game, its input and its end.
  const std::pair<bool, const char*> others[] = {
      {options.input.has_value(), "--input"},
      {options.record.has_value(), "--record"},
      {options.seed.has_value(), "--seed"},
      {options.difficulty.has_value(), "--difficulty"},
      {options.ship.has_value(), "--ship"},
      {options.launcher, "--launcher"},
      {options.link.has_value(), "--link"},
      {options.frames.has_value() && options.verify, "--frames"},
      {options.window && options.verify, "--window"},
  };
  for (const auto& [given, name] : others) {
    if (given) {
      return what + " plays the recording's own game: " + name + " cannot go with it";
    }
  }
  return std::nullopt;
}

int VerifyRecording(const Options& options) {
  if (const auto problem = ReplayOptionsProblem(options)) {
    return Fail(kExitBadCommandLine, *problem);
  }
  auto loaded = LoadRecording(*options.verify);  // a file, or a link
  if (QuitSignalled()) return kExitOk;
  if (const auto* error = std::get_if<InputScriptError>(&loaded)) {
    return Fail(kExitBadCommandLine, error->message);
  }
  const std::optional<RecordingResult> claimed = std::get<InputScript>(loaded).result;

  Options replay = options;
  replay.headless = true;  // as fast as it goes, on no screen, whatever else was asked
  Session session;
  session.script = std::move(std::get<InputScript>(loaded));
  if (const auto status = PrepareSession(replay, session)) return *status;
  Game game(*session.media);
  const PlayEnd end = PlaySession(game, replay, session);
  if (end.failure) return *end.failure;
  const RecordingResult replayed = GameResult(game, session);
  // Outputs asked for besides (--dump, --screenshot); the replay saves nothing of the player's.
  if (const int status = FinishSession(game, replay, session, end); status != kExitOk) {
    return status;
  }

  const std::string difference =
      claimed ? FirstDifference(*claimed, replayed) : "the recording claims no result";
  std::string why;
  if (!WriteText("-", ResultJson(replayed, difference.empty(), difference), why)) {
    return Fail(kExitFailure, "cannot write to standard output (" + why + ")");
  }
  return difference.empty() ? kExitOk : kExitFailure;
}

}  // namespace starvane
