#include "app/frame_loop.hpp"

#include "combat/visibility.hpp"
#include "life/body_motion.hpp"
#include "life/controls.hpp"
#include "life/ship_upkeep.hpp"
#include "media/keys.hpp"
#include "render/world_drawing.hpp"

namespace starvane {

bool SetupMedia(Game& game) {
  Media& media = game.media;
  media.InitScreen();
  const bool opened = media.OpenScreen(800, 600, 16, "Starvane");
  media.SetFrameRate(50);
  media.InitKeyboard();
  media.InitMouse();
  return opened;
}

// One pass is one frame, and this is its table of contents. The order is the contract between
// the parts of the game: each step relies on what the steps before it did in the same frame.
// The keyboard is examined once, after all world updates and drawing, so what the controls set
// acts from the next frame on.
LoopEnd RunFrameLoop(Game& game) {
  Media& media = game.media;
  Canvas& screen = media.Screen;
  for (;;) {
    if (const auto end = media.ShouldEnd()) return *end;

    screen.ClearScreen(game.BackRed, game.BackGreen, game.BackBlue);
    screen.StartDrawing();  // everything below draws on the back buffer

    // The world moves.
    // SteerEnemies(game): enemies near the screen steer, thrust and fire (combat/)
    RotateBodies(game);
    MoveBodies(game);
    ShipUpkeep(game);
    // Collide(game): the planet's pull, bodies bumping, shots hitting (combat/)
    UpdateEquipment(game);
    UpdateVisibility(game);

    // The world is drawn, the short-lived effects run, and destroyed bodies break up.
    DrawBigStars(game);
    DrawSmallStars(game);
    DrawBodyDiscs(game);
    // UpdateEffects(game): fading sparks and flashes, the speed shake (render/)
    // ShockAndDestroy(game): the shock's lightning, then destruction and rewards (combat/)
    DrawBodyOutlines(game);
    DrawSparks(game);
    DrawShots(game);
    // DrawStatusBars(game): life, energy, boost and shock bars (render/)
    DrawEnemyLifeBars(game);
    // RunStatsPanel(game) when StatsOpen is 1: the workshop at the home planet (workshop/)
    // DrawMiniMap(game) and DrawHudText(game): the minimap, money and teleport ring (render/)

    // The player's turn: keys act on the ship from the next frame on.
    media.ExamineKeyboard();
    HandleControls(game);

    media.FlipBuffers();
    screen.StopDrawing();
    if (media.KeyboardPushed(kKeyEscape)) return LoopEnd::Escape;
  }
}

}  // namespace starvane
