// Playing a session: the game from its start-up to the end of its frame loop.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "app/exit_status.hpp"
#include "app/film.hpp"
#include "app/frame_loop.hpp"
#include "app/launcher.hpp"
#include "app/notices.hpp"
#include "app/session.hpp"
#include "app/startup.hpp"
#include "base/text_quoting.hpp"
#include "media/keys.hpp"
#include "sound/game_sound.hpp"
#include "workshop/ship_file.hpp"
#include "world/world_generation.hpp"

namespace starvane {
namespace {

// The ship of the game: a kept recording's own ship file in its replay, which then begins where
// the recorded game began; else the files directory's, whose bytes a kept game holds. The
// game's result counts from here.
void LoadSessionShip(Game& game, Session& session) {
  Media& media = game.media;
  std::optional<std::string> bytes;
  if (session.ship_file) {
    LoadShipFromBytes(game, *session.ship_file);
    media.BeginWith(session.held, session.pointer);
  } else if (const std::string warning = LoadShip(game, session.keep ? &bytes : nullptr);
             !warning.empty()) {
    std::fprintf(stderr, "starvane: %s\n", warning.c_str());
  }
  session.frame_origin = media.FramesPresented();
  session.money_start = game.Money;
  if (session.keep) StartKeptRecording(game, session, bytes);
}

// Play stopped before the game began, by a failure already reported.
PlayEnd Failed(int status) {
  return {.failure = status};
}

}  // namespace

PlayEnd PlaySession(Game& game, const Options& options, Session& session) {
  Media& media = game.media;
  OptionsPage* page = session.options ? &*session.options : nullptr;
  Startup(game, session.seed);
  if (session.launcher) {
    // Closing the launcher ends the program before any world or ship file exists. The ship it
    // chose is held for this game; a ship named on the command line is taken below instead.
    std::filesystem::path watch;
    if (const auto end = RunLauncher(game, &watch, page)) {
      return {.end = *end, .played = false, .watch = std::move(watch)};
    }
  } else {
    game.Difficulty = session.difficulty;
  }
  if ((!session.launcher || options.ship) && session.writes_nothing) {
    game.ShipName = session.ship;  // a replay saves nothing: no ship is taken from other games
  } else if (!session.launcher || options.ship) {
    game.ShipName = session.ship;
    // One ship, one game: a second game on the same ship would save over the first one's.
    std::string why;
    if (!media.LockShip(ShipFileName(game.ShipName), why)) {
      return Failed(Fail(kExitFailure, "ship " + Quoted(game.ShipName) + " " + why));
    }
    if (!why.empty()) std::fprintf(stderr, "starvane: %s\n", why.c_str());
  }
  GenerateWorld(game);

  if (!SetupMedia(game)) return Failed(Fail(kExitFailure, "cannot open the screen"));
  LoadSessionShip(game, session);
  // A browser's page may be closed unannounced: hidden, it saves the ship as Escape would then
  // (a game ended by --frames saves nothing, so neither does its page).
  if (!options.frames && !session.writes_nothing) {
    media.SaveShipWhenHidden([&game] { return SaveShip(game); });
  }
  // The game is heard on a real screen, and written when asked, from its first frame on (the
  // launcher is silent). A film is silent: its frames come at any speed, and in any order.
  // A player's game sounds as the player chose (the command line may have won for the run).
  GameSound sound(game,
                  page ? SoundSettings{page->run.volume, page->run.mute}
                       : SoundSettings{options.volume, options.mute},
                  session.audio_out.get());
  if ((!options.headless || session.audio_out) && !options.watch) sound.Play();
  // The options page changes the sound while it plays, and never after.
  struct SoundForThePage {
    OptionsPage* page;
    ~SoundForThePage() {
      if (page != nullptr) page->sound = nullptr;
    }
  } sound_for_the_page{page};
  if (page != nullptr) page->sound = &sound;
  // A new ship's first game in a real window opens on the controls, once. The press is the
  // player's own as far as the recording goes, so its replay opens on them too; headless games
  // and scripted ones show them only when F1 is pressed.
  if (game.ShipIsNew && !options.headless && !session.scripted) media.PressKeyOnce(kKeyF1);
  // Escape, a closed window and the quit signals end the game alike and save the ship; only
  // --frames ends it the way a program stopped from outside would, and that saves nothing.
  // A film stands at its end, paused, until the viewer closes it; headless it ends there.
  if (options.watch) {
    return {.end = RunFilm(game, {.stay_at_end = !options.headless}), .played = true};
  }
  std::optional<Notices> notices;
  if (options.notices) notices.emplace(game, &sound);
  return {.end = RunFrameLoop(game, notices ? &*notices : nullptr, page), .played = true};
}

}  // namespace starvane
