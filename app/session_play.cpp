// Playing a session: the game from its start-up to the end of its frame loop.

#include <cstdio>
#include <optional>
#include <string>

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

// Play stopped before the game began, by a failure already reported.
PlayEnd Failed(int status) {
  return {.failure = status};
}

}  // namespace

PlayEnd PlaySession(Game& game, const Options& options, Session& session) {
  Media& media = game.media;
  Startup(game, session.seed);
  if (session.launcher) {
    // Closing the launcher ends the program before any world or ship file exists. The ship it
    // chose is held for this game; a ship named on the command line is taken below instead.
    if (const auto end = RunLauncher(game)) return {.end = *end, .played = false};
  } else {
    game.Difficulty = session.difficulty;
  }
  if (!session.launcher || options.ship) {
    game.ShipName = session.ship;
    // One ship, one game: a second game on the same ship would save over the first one's. A
    // watched game saves nothing, and is watched beside any game.
    std::string why;
    if (!options.watch && !media.LockShip(ShipFileName(game.ShipName), why)) {
      return Failed(Fail(kExitFailure, "ship " + Quoted(game.ShipName) + " " + why));
    }
    if (!why.empty()) std::fprintf(stderr, "starvane: %s\n", why.c_str());
  }
  GenerateWorld(game);

  if (!SetupMedia(game)) return Failed(Fail(kExitFailure, "cannot open the screen"));
  if (const std::string warning = LoadShip(game); !warning.empty()) {
    std::fprintf(stderr, "starvane: %s\n", warning.c_str());
  }
  // A browser's page may be closed unannounced: hidden, it saves the ship as Escape would then
  // (a game ended by --frames saves nothing, so neither does its page).
  if (!options.frames && !options.watch)
    media.SaveShipWhenHidden([&game] { return SaveShip(game); });
  // The game is heard on a real screen, and written when asked, from its first frame on (the
  // launcher is silent). A film is silent: its frames come at any speed, and in any order.
  GameSound sound(game, {options.volume, options.mute}, session.audio_out.get());
  if ((!options.headless || session.audio_out) && !options.watch) sound.Play();
  // A new ship's first game in a real window opens on the controls, once. The press is the
  // player's own as far as the recording goes, so its replay opens on them too; headless games
  // and scripted ones show them only when F1 is pressed.
  if (game.ShipIsNew && !options.headless && !options.input && !options.watch) {
    media.PressKeyOnce(kKeyF1);
  }
  // Escape, a closed window and the quit signals end the game alike and save the ship; only
  // --frames ends it the way a program stopped from outside would, and that saves nothing.
  // A film stands at its end, paused, until the viewer closes it; headless it ends there.
  if (options.watch) {
    return {.end = RunFilm(game, {.stay_at_end = !options.headless}), .played = true};
  }
  std::optional<Notices> notices;
  if (options.notices) notices.emplace(game, &sound);
  return {.end = RunFrameLoop(game, notices ? &*notices : nullptr), .played = true};
}

}  // namespace starvane
