// Keeping a game: every game of live input is recorded in replays/ from its start (after the
// launcher) to its end, with the ship file it began with and the result it came to, so that it
// can be watched, shared and checked with nothing else.

#include <cstdio>
#include <string>

#include "app/session.hpp"
#include "base/text_quoting.hpp"
#include "files/path_text.hpp"
#include "files/utc_date.hpp"
#include "media/canvas.hpp"
#include "replay/kept_recordings.hpp"
#include "workshop/ship_file.hpp"
#include "world/sound_cues.hpp"

namespace starvane {

static_assert(kMostShipFileBytes == kShipFileByteLimit,
              "a kept recording holds any ship file the game reads");

bool KeepsTheGame(const Options& options) {
  return !options.headless && !options.input && !options.watch && !options.verify &&
         !options.no_record;
}

namespace {

// Said once: a game that cannot be kept is played all the same.
void SayNotKept(const std::string& where, const std::string& why) {
  std::fprintf(stderr, "starvane: this game is not kept in %s (%s)\n", Quoted(where).c_str(),
               why.c_str());
}

std::string ReplaysFolderText(const Game& game) {
  return TextOfPath(game.media.Files.Directory() / std::string(kReplaysFolder));
}

}  // namespace

void StartKeptRecording(Game& game, Session& session,
                        const std::optional<std::string>& ship_file_bytes) {
  Media& media = game.media;
  KeptStart start{.seed = session.seed,
                  .difficulty = game.Difficulty,
                  .ship = game.ShipName,
                  .date = UtcNow(),
                  .ship_file = ship_file_bytes,
                  .held = {},
                  .pointer_x = media.MouseX(),
                  .pointer_y = media.MouseY()};
  KeyStates held{};
  for (int key = 0; key < kKeyCount; ++key) {
    if (media.KeyboardPushed(key) == 0) continue;
    held[static_cast<std::size_t>(key)] = 1;
    start.held.push_back(key);
  }
  std::string why;
  session.kept =
      CreateKeptRecording(media.Files.Directory(), start.date, KeptRecordingHeader(start), why);
  if (!session.kept) {
    SayNotKept(ReplaysFolderText(game), why);
    return;
  }
  session.kept->StartAt(media.FramesPresented(), held);
  media.AlsoRecordInputTo(session.kept.get());
}

RecordingResult GameResult(const Game& game, const Session& session) {
  const SoundCues& cues = game.Sounds;
  RecordingResult result;
  result.frames = game.media.FramesPresented() - session.frame_origin;
  result.money_start = session.money_start;
  result.money_end = game.Money;
  result.kills = {cues.TimesGiven(SoundCueKind::BigRockBlast),
                  cues.TimesGiven(SoundCueKind::RockBlast),
                  cues.TimesGiven(SoundCueKind::LittleRockBlast),
                  cues.TimesGiven(SoundCueKind::FragmentBlast),
                  cues.TimesGiven(SoundCueKind::CraftBlast),
                  cues.TimesGiven(SoundCueKind::GlimmerhexBlast)};
  result.deaths = cues.TimesGiven(SoundCueKind::Death);
  result.frame_hash = FrameHash(game.media.Screen);
  return result;
}

void FinishKeptRecording(Game& game, Session& session, LoopEnd end) {
  if (!session.kept) return;
  Media& media = game.media;
  media.AlsoRecordInputTo(nullptr);
  session.kept->NoteEnd(media.FramesPresented(), end);
  session.kept->NoteLastLine(ResultLine(GameResult(game, session)));
  if (!session.kept->Finish()) SayNotKept(ReplaysFolderText(game), session.kept->FailureReason());
  session.kept.reset();
}

}  // namespace starvane
