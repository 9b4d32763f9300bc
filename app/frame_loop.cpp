#include "app/frame_loop.hpp"

#include "media/keys.hpp"

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

// One pass is one frame. The order of the steps is the contract between the parts of the game:
// each step relies on what the steps before it did in the same frame. The keyboard is examined
// once, after all world updates and drawing, so what the controls set acts from the next frame.
LoopEnd RunFrameLoop(Game& game) {
  Media& media = game.media;
  Canvas& screen = media.Screen;
  for (;;) {
    if (media.FrameLimitReached()) return LoopEnd::FrameLimit;
    // 1. Clear to the background colour.
    screen.ClearScreen(game.BackRed, game.BackGreen, game.BackBlue);
    // 2. Everything below draws on the back buffer.
    screen.StartDrawing();
    // 23. Capture the keyboard state used by the controls and the Escape test.
    media.ExamineKeyboard();
    // 25. Present the frame.
    media.FlipBuffers();
    // 26.
    screen.StopDrawing();
    // 27. Escape down at the end of the frame ends the game.
    if (media.KeyboardPushed(kKeyEscape)) return LoopEnd::Escape;
    if (media.QuitRequested()) return LoopEnd::Closed;
  }
}

}  // namespace starvane
