// Finishing a session: what the program writes when the game has ended.

#include <string>

#include "app/exit_status.hpp"
#include "app/session.hpp"
#include "app/state_summary.hpp"
#include "app/text_output.hpp"
#include "files/path_text.hpp"
#include "media/bmp.hpp"
#include "workshop/ship_file.hpp"

namespace starvane {
namespace {

// Everything the game writes at its end, each even when another fails: the ship (unless the
// game was ended by --frames, or never began), then the recording, the screenshot and the dump.
int WriteGameOutputs(Game& game, const Options& options, const PlayEnd& end) {
  Media& media = game.media;
  int status = kExitOk;
  if (end.played && end.end != LoopEnd::FrameLimit && !options.watch) {
    if (const std::string problem = SaveShip(game); !problem.empty()) {
      status = Fail(kExitFailure, problem);
    }
  }
  std::string why;
  if (!media.FinishRecording(end.end, &why)) {
    status = CannotWrite("the recording", *options.record, why);
  }
  if (options.screenshot && !WriteBmp(PathOfText(*options.screenshot), media.Screen, why)) {
    status = CannotWrite("the screenshot", *options.screenshot, why);
  }
  if (options.dump && !WriteText(*options.dump, StateSummary(game, media.FramesPresented()), why)) {
    status = CannotWrite("the state summary", *options.dump, why);
  }
  return status;
}

}  // namespace

int FinishSession(Game& game, const Options& options, Session& session, const PlayEnd& end) {
  const int status = end.failure ? *end.failure : WriteGameOutputs(game, options, end);
  // The sound file is finished however the game ended (a game that never began is an empty
  // sound), and a write that failed fails the exit.
  if (std::string why; session.audio_out && !session.audio_out->Finish(why)) {
    return CannotWrite("the sound", *options.audio_out, why);
  }
  return status;
}

}  // namespace starvane
