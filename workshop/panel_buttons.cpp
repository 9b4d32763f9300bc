#include "workshop/panel_buttons.hpp"

namespace starvane {

void DrawButtons(Game& game) {
  Canvas& screen = game.media.Screen;
  game.Buttons.ForEach([&screen](const Button& button) {
    const int x = button.X;
    const int y = button.Y;
    const int w = button.Width;
    const int h = button.Height;
    if (button.Enabled != 0) {
      screen.FrontColor(255, 255, 255);
      screen.LineXY(x, y, x + w, y);
      screen.LineXY(x, y, x, y + h);
      screen.LineXY(x + w, y, x + w, y + h + 1);
      screen.LineXY(x, y + h, x + w, y + h);
      screen.LineXY(x, y + h / 2, x + w, y + h / 2);
      screen.LineXY(x + w / 2, y, x + w / 2, y + h);
    } else {
      screen.FrontColor(50, 50, 50);
      screen.Box(x, y, w + 1, h + 1);
      screen.FrontColor(0, 0, 0);
      screen.LineXY(x, y + h / 2, x + w + 1, y + h / 2);
      screen.LineXY(x + w / 2, y, x + w / 2, y + h + 1);
    }
  });
}

void DrawMouseArrow(Game& game) {
  Canvas& screen = game.media.Screen;
  const int mx = game.media.MouseX();
  const int my = game.media.MouseY();
  screen.FrontColor(0, 0, 0);
  screen.Circle(mx + 3, my + 7, 5);
  screen.Box(mx + 1, my + 1, 2, 2);
  screen.FrontColor(255, 100, 100);
  screen.LineXY(mx, my, mx, my + 12);
  screen.LineXY(mx, my, mx + 8, my + 8);
  screen.LineXY(mx + 8, my + 8, mx + 4, my + 8);
  screen.LineXY(mx + 4, my + 8, mx, my + 12);
}

int ButtonHovered(Game& game, int button) {
  if (button < 0 || button >= game.Buttons.CountList()) return 0;
  const Button& box = game.Buttons.At(button);
  const int x = game.media.MouseX();
  const int y = game.media.MouseY();
  const bool inside = box.X < x && x <= box.X + box.Width && box.Y < y && y <= box.Y + box.Height;
  return inside ? 1 : 0;
}

int ButtonClicked(Game& game, int button) {
  return game.MouseClickState == 1 ? ButtonHovered(game, button) : 0;
}

void UpdateMouseClickState(Game& game) {
  std::int16_t& state = game.MouseClickState;
  if (state == 1) state = 2;
  const bool down = game.media.MouseButton(1) != 0;
  if (down && state == 0) {
    state = 1;
  } else if (!down) {
    state = 0;
  }
}

}  // namespace starvane
