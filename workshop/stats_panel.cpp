#include "workshop/stats_panel.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/rounding.hpp"
#include "base/text_numbers.hpp"
#include "media/keys.hpp"
#include "media/media.hpp"
#include "workshop/panel_buttons.hpp"
#include "workshop/upgrades.hpp"
#include "world/adders.hpp"
#include "world/kinds.hpp"
#include "world/weapons.hpp"

namespace starvane {
namespace {

// Boxes are 6 x 6, 3 pixels left of the line's text and 4 below its top.
constexpr int kBoxSide = 6;

int RegisterButton(Game& game, int x, int y) {
  AddButton(game, x, y, kBoxSide, kBoxSide, 1);
  return game.Buttons.ListIndex() - 1;  // the new box is the current element
}

// One equipment block at (x, y): the heading in the block's colour, then in white the detail
// lines that its figures call for, 15 pixels apart, each with its box 3 pixels in when the panel
// is opening at the home planet. value and max are the equipment's rounded; a line shows when
// its figure is not 0 ("Max : " when value and max both are not). The boost shows its unrounded
// multiplier instead of a maximum and no value/max in its heading. Returns the boxes registered.
BlockButtons DrawEquipmentInfo(Game& game, std::string_view label, std::int32_t value,
                               std::int32_t max, float refreshrate, float damage,
                               std::int32_t range, int x, int y, int red, int green, int blue) {
  Canvas& screen = game.media.Screen;
  const bool boost = label == "Boost";
  const bool filled = value != 0 && max != 0;

  std::string heading(label);
  if (filled && !boost) heading += " (" + IntToText(value) + "/" + IntToText(max) + ")";
  screen.Locate(x, y);
  screen.FrontColor(red, green, blue);
  screen.DrawText(heading);
  screen.FrontColor(255, 255, 255);

  // Each line shown takes the next place, 15 pixels down, and its box when boxes are made.
  const bool registering = game.StatsOpen == 1 && game.HomePlanetOnScreen == 1;
  int offset = 0;
  auto line = [&](const std::string& text) {
    offset += 15;
    const int button = registering ? RegisterButton(game, x + 3, y + offset + 4) : kNoButton;
    screen.Locate(x + 15, y + offset);
    screen.DrawText(text);
    return button;
  };
  BlockButtons buttons;
  if (filled) {
    buttons.max =
        line(boost ? "Multiplikator : " + FloatToText(game.Boost.Max) : "Max : " + IntToText(max));
  }
  if (refreshrate != 0) buttons.refreshrate = line("Refreshrate : " + FloatToText(refreshrate));
  if (damage != 0) buttons.damage = line("Damage : " + FloatToText(damage));
  if (range != 0) buttons.range = line("Range : " + IntToText(range));
  return buttons;
}

BlockButtons DrawBlock(Game& game, std::string_view label, const Equipment& equipment, int x, int y,
                       int red, int green, int blue) {
  return DrawEquipmentInfo(game, label, RoundToInt(equipment.Value), RoundToInt(equipment.Max),
                           equipment.Refreshrate, equipment.Damage, equipment.Range, x, y, red,
                           green, blue);
}

// "Red : 255" in white with a swatch of the component beside it.
void DrawShade(Canvas& screen, std::string_view name, int shade, int y, int red, int green,
               int blue) {
  screen.FrontColor(255, 255, 255);
  screen.Locate(165, y);
  screen.DrawText(std::string(name) + IntToText(shade));
  screen.FrontColor(red, green, blue);
  screen.Box(250, y + 4, 30, 8);
}

// One panel frame up to its sales: the page drawn and, in the frame that opens the panel, the
// boxes registered and bound to their lines.
void DrawPanel(Game& game, PanelButtons& bound) {
  Canvas& screen = game.media.Screen;
  screen.ClearScreen(0, 0, 0);
  screen.StartDrawing();
  screen.BackColor(0, 0, 0);
  screen.FrontColor(255, 255, 255);
  screen.Locate(370, 50);
  screen.DrawText("STATS");
  screen.Locate(25, 550);
  screen.DrawText("Money : " + IntToText(game.Money));

  // Only the opening frame registers boxes; the blocks of later frames come back without any.
  const bool opening = game.StatsOpen == 1;
  PanelButtons drawn;
  drawn.life = DrawBlock(game, "Life", game.Life, 150, 100, 255, 0, 0);
  drawn.energie = DrawBlock(game, "Energie", game.Energie, 150, 150, 0, 0, 255);
  drawn.boost = DrawBlock(game, "Boost", game.Boost, 150, 200, 255, 100, 0);
  drawn.shock = DrawBlock(game, "Shock", game.Shock, 500, 100, 100, 100, 255);
  for (std::size_t i = 0; i < kWeapons.size(); ++i) {
    const Weapon& weapon = kWeapons[i];
    const Colour& colour = weapon.panel_colour;
    drawn.weapons[i] = DrawBlock(game, "Weapon " + IntToText(static_cast<std::int32_t>(i + 1)),
                                 game.*weapon.record, weapon.panel_x, weapon.panel_y, colour.red,
                                 colour.green, colour.blue);
  }

  game.Bodies.SelectElement(kShipIndex);
  const Body& ship = game.Bodies.Current();
  screen.Locate(150, 265);
  screen.FrontColor(ship.Red, ship.Green, ship.Blue);
  screen.DrawText("Color");

  if (opening) {
    game.StatsOpen = 0;
    if (game.HomePlanetOnScreen == 1) {
      drawn.red = RegisterButton(game, 153, 284);
      drawn.green = RegisterButton(game, 153, 299);
      drawn.blue = RegisterButton(game, 153, 314);
    }
    // The refresh rates of the boost and the shock follow from their other upgrades: their
    // boxes are greyed from the first frame on and sell nothing.
    for (const int button : {drawn.boost.refreshrate, drawn.shock.refreshrate}) {
      if (button != kNoButton) game.Buttons.At(button).Enabled = 0;
    }
    bound = drawn;
  }

  DrawShade(screen, "Red : ", ship.Red, 280, ship.Red, 0, 0);
  DrawShade(screen, "Green : ", ship.Green, 295, 0, ship.Green, 0);
  DrawShade(screen, "Blue : ", ship.Blue, 310, 0, 0, ship.Blue);
  DrawButtons(game);
  DrawMouseArrow(game);
}

}  // namespace

std::optional<LoopEnd> RunStatsPanel(Game& game) {
  Media& media = game.media;
  Canvas& screen = media.Screen;
  // A controller moves the pointer and presses with A (media/live_keys.hpp).
  const Media::InputModeScope workshop(media, InputMode::Workshop);
  screen.StopDrawing();  // the world frame in progress is never shown
  // The mouse is not examined in flight, so its movement has piled up since the panel last
  // closed: the pointer starts where it was left.
  media.DiscardMouseMovement();

  PanelButtons buttons;
  std::optional<LoopEnd> end;
  for (;;) {
    end = media.ShouldEnd();
    if (end) break;

    DrawPanel(game, buttons);
    SellUpgrades(game, buttons);
    media.FlipBuffers();
    screen.StopDrawing();

    media.ExamineMouse();
    UpdateMouseClickState(game);
    media.ExamineKeyboard();
    // Escape first: C is asked only when Escape was not released.
    if (media.KeyboardReleased(kKeyEscape) || media.KeyboardReleased(kKeyC)) break;
  }

  screen.StartDrawing();  // the frame loop goes on with the minimap and the HUD text
  game.Buttons.ClearList();
  return end;
}

}  // namespace starvane
