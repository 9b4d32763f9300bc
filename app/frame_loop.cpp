#include "app/frame_loop.hpp"

#include "app/pause.hpp"
#include "combat/collide.hpp"
#include "combat/enemy_behaviour.hpp"
#include "combat/shock_and_destroy.hpp"
#include "combat/visibility.hpp"
#include "life/body_motion.hpp"
#include "life/controls.hpp"
#include "life/ship_upkeep.hpp"
#include "media/keys.hpp"
#include "media/media.hpp"
#include "render/effects.hpp"
#include "render/hud.hpp"
#include "render/world_drawing.hpp"
#include "sound/held_sounds.hpp"
#include "workshop/stats_panel.hpp"

namespace starvane {

bool SetupMedia(Game& game) {
  Media& media = game.media;
  const bool opened = media.OpenScreen(800, 600, "Starvane");
  media.SetFrameRate(50);
  return opened;
}

// One pass is one frame, and this is its table of contents. The order is the contract between
// the parts of the game: each step relies on what the steps before it did in the same frame.
// The keyboard is examined once, after all world updates and drawing, so what the controls set
// acts from the next frame on.
LoopEnd RunFrameLoop(Game& game, Notices* notices, OptionsPage* options) {
  Media& media = game.media;
  Canvas& screen = media.Screen;
  const Media::InputModeScope flight(media, InputMode::Flight);  // the player's bindings fly
  for (;;) {
    media.FrameLoopTop();  // a film keeps its snapshots here (media/film_director.hpp)
    if (const auto end = media.ShouldEnd()) return *end;

    screen.ClearScreen(game.BackRed, game.BackGreen, game.BackBlue);
    screen.StartDrawing();  // everything below draws on the back buffer

    // The world moves.
    SteerEnemies(game);
    RotateBodies(game);
    MoveBodies(game);
    ShipUpkeep(game);
    Collide(game);
    UpdateEquipment(game);
    UpdateVisibility(game);

    // The world is drawn, the short-lived effects run, and destroyed bodies break up.
    DrawBigStars(game);
    DrawSmallStars(game);
    DrawBodyDiscs(game);
    UpdateEffects(game);
    ShockAndDestroy(game);
    DrawBodyOutlines(game);
    DrawSparks(game);
    DrawShots(game);
    DrawStatusBars(game);
    DrawEnemyLifeBars(game);
    // The workshop, asked for in the last frame, runs its own frames while the world stands
    // still. A game that must end meanwhile ends there, without presenting this frame.
    if (game.StatsOpen == 1) {
      if (const auto end = RunStatsPanel(game)) return *end;
    }
    DrawMiniMap(game);
    DrawHudText(game);

    // The player's turn: keys act on the ship from the next frame on.
    media.ExamineKeyboard();
    HandleControls(game);
    CueHeldSounds(game);
    if (notices != nullptr) notices->Watch();  // told of outside the back buffer

    media.FlipBuffers();
    screen.StopDrawing();
    if (media.KeyboardPushed(kKeyEscape)) return LoopEnd::Escape;

    // A pause stands between two frames and leaves the game as it found it.
    if (PauseAsked(game)) {
      if (const auto end = RunPause(game, options)) return *end;
    }
  }
}

}  // namespace starvane
