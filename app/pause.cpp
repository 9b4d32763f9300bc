#include "app/pause.hpp"

#include <string_view>

#include "app/help_page.hpp"
#include "media/canvas.hpp"
#include "media/font.hpp"
#include "media/keys.hpp"
#include "media/media.hpp"

namespace starvane {

namespace {

constexpr std::string_view kPausedLabel = "PAUSED";
// The keys of the pause, named as every keyboard labels them, so that a recording that ends
// while paused ends on the same picture wherever it is replayed.
// (Doubled in size, 46 characters fill the screen's width.)
constexpr std::string_view kPauseKeys = "P: go on  F1: controls  O: options  Esc: end";
constexpr int kOptionsKey = kKeyO;

// Text in the game's font enlarged `scale` times, white on a black band, centred across the
// screen with its top at `top`: large enough to read on a small screen that shrinks the picture.
void DrawLargeText(Canvas& screen, std::string_view text, int scale, int top) {
  const int columns = static_cast<int>(text.size()) * kGameFont.width;
  const int left = (kScreenWidth - columns * scale) / 2;
  screen.FrontColor(0, 0, 0);
  screen.Box(left - 2 * scale, top - 2 * scale, (columns + 4) * scale, (kFontHeight + 4) * scale);
  Canvas letters;  // the text at its own size, then each of its pixels drawn as a square
  letters.StartDrawing();
  letters.FrontColor(255, 255, 255);
  letters.DrawText(text);
  screen.FrontColor(255, 255, 255);
  for (int y = 0; y < kFontHeight; ++y) {
    for (int x = 0; x < columns; ++x) {
      if (letters.Pixel(x, y) != 0) screen.Box(left + x * scale, top + y * scale, scale, scale);
    }
  }
}

// The paused picture: the game's frame dimmed, "PAUSED" large in the middle and the pause's
// keys under it.
void DrawPausedPicture(Canvas& screen) {
  screen.Dim();
  DrawLargeText(screen, kPausedLabel, 4, kScreenHeight / 2 - 4 * kFontHeight);
  DrawLargeText(screen, kPauseKeys, 2, kScreenHeight / 2 + 2 * kFontHeight);
}

}  // namespace

bool PauseAsked(const Game& game) {
  const Media& media = game.media;
  return media.KeyWentDown(kKeyP) || media.KeyWentDown(kKeyF1) || media.FocusLost();
}

std::optional<LoopEnd> RunPause(Game& game, OptionsPage* options) {
  Media& media = game.media;
  const Media::InputModeScope paused(media, InputMode::Pause);  // the controller works the menu
  // Nothing is heard while the game stands still, however the pause ends.
  struct SoundHold {
    Media& media;
    ~SoundHold() { media.HoldSound(false); }
  } hold{media};
  media.HoldSound(true);
  // The whole canvas is kept, its colours and text position too, and given back at the end:
  // the game's next frame starts from exactly what its last one left.
  const Canvas game_frame = media.Screen;
  // The controls page shows what the player's keyboard calls the keys, which a replay on
  // another machine may call otherwise: a game that ends meanwhile leaves the game's frame.
  bool help = media.KeyWentDown(kKeyF1);
  bool leaving = false;  // Escape closed the controls: the game goes on once it is let go
  const auto show = [&] {
    media.Screen = game_frame;
    if (help) {
      DrawHelpPage(media);
    } else {
      DrawPausedPicture(media.Screen);
    }
  };
  show();
  // The picture changes only when the page does: between, the pause presents nothing new and
  // waits for the window (media/media.hpp, KeepFrame), so a paused game costs the machine
  // nothing. Every wait counts as a frame, in a recording and its replay alike.
  bool changed = true;
  for (;;) {
    if (const auto end = media.ShouldEnd()) {
      if (help) media.Screen = game_frame;
      return end;
    }
    media.ExamineKeyboard();
    changed = media.PresentIfChanged(changed);
    if (leaving) {
      if (!media.KeyboardPushed(kKeyEscape)) break;
    } else if (help) {
      // Escape here closes the page: a newcomer's way out must not end the game. It is held
      // now, and the game would end on it at its next examination, so the game waits for it.
      if (media.KeyWentDown(kKeyEscape)) {
        leaving = true;
        media.Screen = game_frame;
        changed = true;
      } else if (media.KeyWentDown(kKeyF1) || media.KeyWentDown(kKeyP)) {
        break;
      }
    } else {
      if (media.KeyboardPushed(kKeyEscape)) return LoopEnd::Escape;
      if (media.KeyWentDown(kKeyP)) break;
      if (options != nullptr && media.PlayerAtKeys() && media.KeyWentDown(kOptionsKey)) {
        if (const auto end = RunOptionsPage(game, *options, OptionsFrom::Pause)) return end;
        show();
        changed = true;
      } else if (media.KeyWentDown(kKeyF1)) {
        help = true;
        show();
        changed = true;
      }
    }
  }
  media.Screen = game_frame;
  return {};
}

}  // namespace starvane
