#include "app/pause.hpp"

#include <string_view>

#include "media/canvas.hpp"
#include "media/font.hpp"
#include "media/keys.hpp"

namespace starvane {

namespace {

constexpr std::string_view kPausedLabel = "PAUSED";

// "PAUSED" in the game's font, white on black, in the middle of the screen.
void DrawPausedLabel(Canvas& screen) {
  const int width = static_cast<int>(kPausedLabel.size()) * kGameFont.width;
  screen.FrontColor(255, 255, 255);
  screen.BackColor(0, 0, 0);
  screen.Locate((kScreenWidth - width) / 2, (kScreenHeight - kFontHeight) / 2);
  screen.DrawText(kPausedLabel);
}

}  // namespace

bool PauseAsked(const Game& game) {
  return game.media.KeyboardPressed(kKeyP) || game.media.FocusLost();
}

std::optional<LoopEnd> RunPause(Game& game) {
  Media& media = game.media;
  // The whole canvas is kept, its colours and text position too, and given back at the end:
  // the game's next frame starts from exactly what its last one left.
  const Canvas game_frame = media.Screen;
  DrawPausedLabel(media.Screen);
  for (;;) {
    if (const auto end = media.ShouldEnd()) return end;
    media.ExamineKeyboard();
    media.FlipBuffers();
    if (media.KeyboardPushed(kKeyEscape)) return LoopEnd::Escape;
    if (media.KeyboardPressed(kKeyP)) break;
  }
  media.Screen = game_frame;
  return {};
}

}  // namespace starvane
