// The STATS panel: its page, its boxes and what they sell, and its place in the frame loop.
// Every test plays the mouse and keys frame by frame through an input script and looks at the
// frames as they were presented.

#include "workshop/stats_panel.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "app/frame_loop.hpp"
#include "base/text_numbers.hpp"
#include "life/controls.hpp"
#include "life/ship_rebuild.hpp"
#include "media/canvas.hpp"
#include "media/font.hpp"
#include "media/keys.hpp"
#include "replay/input_events.hpp"
#include "replay/input_recorder.hpp"
#include "replay/input_script.hpp"
#include "tests/support/harness.hpp"
#include "world/kinds.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;
using starvane::testing::World;

// Input, frame by frame: an event at frame f is in effect for every examination made after f
// frames have been presented.
struct Script {
  Script& MoveTo(std::int64_t f, int to_x, int to_y) {
    events.push_back({f, InputEvent::Type::MouseMove, {}, to_x - x, to_y - y});
    x = to_x;
    y = to_y;
    return *this;
  }
  Script& Press(std::int64_t f) {
    events.push_back({f, InputEvent::Type::ButtonPress, {}, 0, 0, 1});
    return *this;
  }
  Script& Release(std::int64_t f) {
    events.push_back({f, InputEvent::Type::ButtonRelease, {}, 0, 0, 1});
    return *this;
  }
  Script& Click(std::int64_t f) { return Press(f).Release(f + 1); }
  Script& Down(std::int64_t f, int key) {
    events.push_back({f, InputEvent::Type::KeysDown, {key}});
    return *this;
  }
  Script& Up(std::int64_t f, int key) {
    events.push_back({f, InputEvent::Type::KeysUp, {key}});
    return *this;
  }
  // Down at f, up at f + 1: released at the examination after f + 1 frames.
  Script& Tap(std::int64_t f, int key) { return Down(f, key).Up(f + 1, key); }

  std::vector<InputEvent> events;
  int x = 0;  // where the moves so far took the pointer
  int y = 0;
};

struct Spot {
  int x;
  int y;
};

// A point inside the box whose top left corner is at (x, y).
constexpr Spot InBox(int x, int y) {
  return {x + 3, y + 3};
}

// The boxes of the panel at the default figures.
constexpr Spot kLifeMax = InBox(153, 119);
constexpr Spot kLifeRefresh = InBox(153, 134);
constexpr Spot kEnergieMax = InBox(153, 169);
constexpr Spot kEnergieRefresh = InBox(153, 184);
constexpr Spot kBoostMultiplier = InBox(153, 219);
constexpr Spot kBoostRefresh = InBox(153, 234);
constexpr Spot kShockRefresh = InBox(503, 119);
constexpr Spot kShockDamage = InBox(503, 134);
constexpr Spot kShockRange = InBox(503, 149);
constexpr Spot kWeapon1Damage = InBox(503, 219);
constexpr Spot kWeapon2Damage = InBox(503, 269);
constexpr Spot kWeapon3Damage = InBox(503, 319);
constexpr Spot kRed = InBox(153, 284);
constexpr Spot kGreen = InBox(153, 299);
constexpr Spot kBlue = InBox(153, 314);

constexpr std::int64_t kSafetyFrames = 400;  // no test may run for ever

// A headless game played by the script, its presented frames kept. Empty: just the ship as body
// 0 and the home planet taken as on the screen, for the panel run on its own. Generated: a whole
// world as the main sequence makes it, for the frame loop.
Harness PanelGame(const Script& script = {}, World world = World::Empty,
                  std::optional<ScriptEnd> end = {}) {
  Harness t({.input = std::make_unique<ScriptedInput>(script.events, end),
             .keep_frames = true,
             .frame_limit = kSafetyFrames,
             .world = world,
             .arm = world == World::Generated});
  if (world == World::Empty) {
    Body& ship = t.game.Bodies.AddElement();
    ship.Red = 200;
    ship.Green = 40;
    ship.Blue = 120;
    t.game.HomePlanetOnScreen = 1;
  }
  return t;
}

// The ship at the home planet, where the panel sells, with this much money.
void AtHome(Harness& t, std::int32_t money) {
  RebuildShip(t.game, kRespawnX, kRespawnY);
  t.game.Money = money;
}

// Whether the frame shows the text at (x, y) in that colour on black, pixel for pixel.
bool ShowsText(const Canvas& frame, int x, int y, std::string_view text, int red = 255,
               int green = 255, int blue = 255) {
  Canvas expected;
  expected.StartDrawing();
  expected.FrontColor(red, green, blue);
  expected.Locate(x, y);
  expected.DrawText(text);
  const int width = kFontWidth * static_cast<int>(text.size());
  for (int row = y; row < y + kFontHeight; ++row) {
    for (int column = x; column < x + width; ++column) {
      if (frame.Pixel(column, row) != expected.Pixel(column, row)) return false;
    }
  }
  return true;
}

// The price line under the mouse: nothing, or "(-price)" in green or red.
bool ShowsPrice(const Canvas& frame, std::string_view price, bool green) {
  return green ? ShowsText(frame, 40, 565, price, 0, 255, 0)
               : ShowsText(frame, 40, 565, price, 255, 0, 0);
}
bool ShowsNoPrice(const Canvas& frame) {
  for (int row = 565; row < 565 + kFontHeight; ++row) {
    for (int column = 40; column < 40 + 10 * kFontWidth; ++column) {
      if (frame.Pixel(column, row) != 0) return false;
    }
  }
  return true;
}

const std::uint16_t kWhite = ScreenColor(255, 255, 255);
const std::uint16_t kGrey = ScreenColor(50, 50, 50);

// Escape released at the examination after f + 1 frames.
Script& CloseAt(Script& script, std::int64_t f) {
  return script.Tap(f, kKeyEscape);
}

TEST(StatsPanel, ShowsEveryBlockWithItsFiguresAtTheDefaults) {
  Script script;
  CloseAt(script, 1);
  Harness t = PanelGame(script);
  EXPECT_EQ(t.OpenStats(), std::nullopt);
  ASSERT_EQ(t.Shown().size(), 2u);
  const Canvas& frame = t.Frame(1);

  EXPECT_TRUE(ShowsText(frame, 370, 50, "STATS"));
  EXPECT_TRUE(ShowsText(frame, 25, 550, "Money : 0"));
  EXPECT_TRUE(ShowsText(frame, 150, 100, "Life (100/100)", 255, 0, 0));
  EXPECT_TRUE(ShowsText(frame, 165, 115, "Max : 100"));
  EXPECT_TRUE(ShowsText(frame, 165, 130, "Refreshrate : 0.005"));
  EXPECT_TRUE(ShowsText(frame, 150, 150, "Energie (300/300)", 0, 0, 255));
  EXPECT_TRUE(ShowsText(frame, 150, 200, "Boost ", 255, 100, 0)) << "no value/max for the boost";
  EXPECT_TRUE(ShowsText(frame, 165, 215, "Multiplikator : 1.5"));
  EXPECT_TRUE(ShowsText(frame, 165, 230, "Refreshrate : -0.2"));
  EXPECT_TRUE(ShowsText(frame, 500, 100, "Shock ", 100, 100, 255)) << "its value rounds to 0";
  EXPECT_TRUE(ShowsText(frame, 515, 130, "Damage : 0.1"));
  EXPECT_TRUE(ShowsText(frame, 515, 145, "Range : 100"));
  EXPECT_TRUE(ShowsText(frame, 500, 200, "Weapon 1 ", 255, 150, 0));
  EXPECT_TRUE(ShowsText(frame, 515, 215, "Damage : 1 ")) << "the reload period is not shown";
  EXPECT_TRUE(ShowsText(frame, 500, 300, "Weapon 3", 150, 150, 255));
  EXPECT_TRUE(ShowsText(frame, 515, 315, "Damage : 10"));
  EXPECT_TRUE(ShowsText(frame, 150, 265, "Color", 200, 40, 120));
  EXPECT_TRUE(ShowsText(frame, 165, 280, "Red : 200"));
  EXPECT_EQ(frame.Pixel(250, 284), ScreenColor(200, 0, 0));  // the swatches
  EXPECT_EQ(frame.Pixel(279, 306), ScreenColor(0, 40, 0));
  EXPECT_EQ(frame.Pixel(279, 314), ScreenColor(0, 0, 120));

  // A white box beside every line that sells, with its plus sign; the refresh rates of the
  // boost and the shock greyed from the first frame on.
  for (const Spot box :
       {kLifeMax, kLifeRefresh, kEnergieMax, kEnergieRefresh, kBoostMultiplier, kShockDamage,
        kShockRange, kWeapon1Damage, kWeapon2Damage, kWeapon3Damage, kRed, kGreen, kBlue}) {
    EXPECT_EQ(frame.Pixel(box.x - 3, box.y - 3), kWhite) << box.x << "," << box.y;
    EXPECT_EQ(frame.Pixel(box.x - 2, box.y - 2), 0) << "hollow";
    EXPECT_EQ(frame.Pixel(box.x, box.y), kWhite) << "the plus sign";
  }
  for (const Spot box : {kBoostRefresh, kShockRefresh}) {
    for (const Canvas* shown : {&t.Frame(1), &t.Frame(2)}) {
      EXPECT_EQ(shown->Pixel(box.x - 2, box.y - 2), kGrey);
      EXPECT_EQ(shown->Pixel(box.x + 3, box.y + 3), kGrey) << "filled to w + 1";
      EXPECT_EQ(shown->Pixel(box.x, box.y), 0) << "a black plus sign";
    }
  }

  // The arrow at the pointer (0, 0); the panel closes with its request cleared and no boxes.
  EXPECT_EQ(frame.Pixel(0, 5), ScreenColor(255, 100, 100));
  EXPECT_EQ(t.game.StatsOpen, 0);
  EXPECT_EQ(t.game.Buttons.CountList(), 0);
}

TEST(StatsPanel, WithThePlanetOffTheScreenShowsTheFiguresWithoutBoxesAndSellsNothing) {
  Script script;
  script.MoveTo(1, kLifeMax.x, kLifeMax.y).Click(2);
  script.MoveTo(4, kRed.x, kRed.y).Click(5);
  CloseAt(script, 7);
  Harness t = PanelGame(script);
  t.game.HomePlanetOnScreen = 0;
  t.game.Money = 1000;
  t.OpenStats();
  for (const Canvas& frame : t.Shown()) {
    EXPECT_TRUE(ShowsText(frame, 150, 100, "Life (100/100)", 255, 0, 0));
    EXPECT_TRUE(ShowsText(frame, 165, 115, "Max : 100"));
    EXPECT_TRUE(ShowsText(frame, 165, 280, "Red : 200"));
    EXPECT_EQ(frame.Pixel(153, 119), 0);
    EXPECT_EQ(frame.Pixel(154, 235), 0) << "no grey box either";
    EXPECT_TRUE(ShowsNoPrice(frame));
  }
  EXPECT_EQ(t.game.Money, 1000);
  EXPECT_EQ(t.game.Life.Max, 100.0f);
  EXPECT_EQ(t.Ship().Red, 200);
}

// The pointer is over the Life maximum's box from the second panel frame on, and the button
// goes down at the examination after two frames: the third panel frame buys.
struct LifeMaxClick {
  explicit LifeMaxClick(std::int32_t money) : t(PanelGame(MakeScript())) {
    t.game.Money = money;
    t.OpenStats();
  }
  static Script MakeScript() {
    Script script;
    script.MoveTo(1, kLifeMax.x, kLifeMax.y).Click(2);
    CloseAt(script, 4);
    return script;
  }
  Harness t;
};

TEST(StatsPanel, TheLifeMaximumSellsForItselfOnlyToWhoCanPay) {
  LifeMaxClick short_of_it(99);
  EXPECT_TRUE(ShowsNoPrice(short_of_it.t.Frame(1))) << "the pointer is not over a box yet";
  EXPECT_TRUE(ShowsPrice(short_of_it.t.Frame(2), "(-100)", false));
  EXPECT_TRUE(ShowsPrice(short_of_it.t.Frame(3), "(-100)", false));
  EXPECT_EQ(short_of_it.t.game.Money, 99);
  EXPECT_EQ(short_of_it.t.game.Life.Max, 100.0f);

  LifeMaxClick enough(100);
  EXPECT_TRUE(ShowsPrice(enough.t.Frame(2), "(-100)", true));
  EXPECT_TRUE(ShowsPrice(enough.t.Frame(3), "(-100)", true)) << "the price shown before buying";
  EXPECT_TRUE(ShowsPrice(enough.t.Frame(4), "(-105)", false));
  EXPECT_TRUE(ShowsText(enough.t.Frame(4), 165, 115, "Max : 105"));
  EXPECT_TRUE(ShowsText(enough.t.Frame(4), 25, 550, "Money : 0 "));
  EXPECT_EQ(enough.t.game.Money, 0);
  EXPECT_EQ(enough.t.game.Life.Max, 105.0f);
}

// A box drawn from (x, y) to (x + 6, y + 6) is hit inside and on its bottom and right lines,
// not on its top and left ones.
TEST(StatsPanel, ABoxIsHitOnItsRightAndBottomLinesButNotOnItsLeftAndTopOnes) {
  constexpr int kX = 153;  // the box of the red line
  constexpr int kY = 284;
  // The left, right, top and bottom lines; the top right, bottom left and bottom right corners;
  // one pixel beyond the right and the bottom lines.
  const std::vector<std::pair<Spot, bool>> spots{
      {{kX, kY + 3}, false},    {{kX + 6, kY + 3}, true},  {{kX + 3, kY}, false},
      {{kX + 3, kY + 6}, true}, {{kX + 6, kY}, false},     {{kX, kY + 6}, false},
      {{kX + 6, kY + 6}, true}, {{kX + 7, kY + 3}, false}, {{kX + 3, kY + 7}, false}};
  Script script;
  for (std::size_t i = 0; i < spots.size(); ++i) {
    script.MoveTo(static_cast<std::int64_t>(i + 1), spots[i].first.x, spots[i].first.y);
  }
  CloseAt(script, static_cast<std::int64_t>(spots.size() + 1));
  Harness t = PanelGame(script);
  t.game.Money = 2;
  t.OpenStats();
  for (std::size_t i = 0; i < spots.size(); ++i) {
    const Canvas& frame = t.Frame(i + 2);  // the pointer is seen in the frame after the move
    if (spots[i].second) {
      EXPECT_TRUE(ShowsPrice(frame, "(-2)", true)) << spots[i].first.x << " " << spots[i].first.y;
    } else {
      EXPECT_TRUE(ShowsNoPrice(frame)) << spots[i].first.x << " " << spots[i].first.y;
    }
  }
}

TEST(StatsPanel, AHeldButtonBuysOnceAndEachNewPressAgain) {
  Script script;
  script.MoveTo(1, kRed.x, kRed.y).Press(2).Release(10).Press(12);
  CloseAt(script, 14);
  Harness t = PanelGame(script);
  t.game.Money = 1000;
  t.Ship().Red = 0;
  t.OpenStats();
  EXPECT_EQ(t.Ship().Red, 10);
  EXPECT_EQ(t.game.Money, 996);
  EXPECT_EQ(t.game.MouseClickState, 2) << "still held as the panel closes";
}

TEST(StatsPanel, ColoursGoUpByFiveAndPast255StartAgainFromBlack) {
  Script script;
  script.MoveTo(1, kRed.x, kRed.y).Click(2);
  script.MoveTo(4, kGreen.x, kGreen.y).Click(4);
  script.MoveTo(6, kBlue.x, kBlue.y).Click(6);
  CloseAt(script, 8);
  Harness t = PanelGame(script);
  t.game.Money = 6;
  t.Ship().Red = 255;
  t.Ship().Green = 250;
  t.Ship().Blue = 32767;  // from a broken ship file: no overflow on the way to 0
  t.OpenStats();
  EXPECT_EQ(t.Ship().Red, 0);
  EXPECT_EQ(t.Ship().Green, 255);
  EXPECT_EQ(t.Ship().Blue, 0);
  EXPECT_EQ(t.game.Money, 0);
  EXPECT_TRUE(ShowsText(t.LastFrame(), 150, 265, "Color", 0, 255, 0));
}

TEST(StatsPanel, FiveWeaponOneDamagesCostFromTheRoundedFloatDamage) {
  Script script;
  script.MoveTo(1, kWeapon1Damage.x, kWeapon1Damage.y);
  for (std::int64_t f = 2; f <= 10; f += 2) script.Click(f);
  CloseAt(script, 12);
  Harness t = PanelGame(script);
  t.game.Money = 600;
  t.OpenStats();
  // Each click is priced in the frame it buys in: frames 3, 5, ... 11.
  EXPECT_TRUE(ShowsPrice(t.Frame(3), "(-100)", true));
  EXPECT_TRUE(ShowsPrice(t.Frame(5), "(-110)", true));
  EXPECT_TRUE(ShowsPrice(t.Frame(7), "(-120)", true));
  EXPECT_TRUE(ShowsPrice(t.Frame(9), "(-130)", true));
  EXPECT_TRUE(ShowsPrice(t.Frame(11), "(-140)", true));
  EXPECT_TRUE(ShowsPrice(t.Frame(12), "(-150)", false));
  EXPECT_TRUE(ShowsText(t.Frame(12), 515, 215, "Damage : 1.5 "));
  EXPECT_EQ(t.game.Money, 0);
  EXPECT_EQ(FloatToText(t.game.Weapon1.Damage), "1.5");
}

// One click on every box, each with a press of its own: every line that sells is priced at its
// default and sells its own step; the grey boxes show no price and sell nothing.
TEST(StatsPanel, EachLineSellsItsOwnStepAtItsDefaultPrice) {
  const std::vector<std::pair<Spot, std::string>> lines{{kBoostRefresh, ""},
                                                        {kShockRefresh, ""},
                                                        {kLifeMax, "(-100)"},
                                                        {kLifeRefresh, "(-100)"},
                                                        {kEnergieMax, "(-300)"},
                                                        {kEnergieRefresh, "(-200)"},
                                                        {kBoostMultiplier, "(-300)"},
                                                        {kShockDamage, "(-200)"},
                                                        {kShockRange, "(-200)"},
                                                        {kWeapon1Damage, "(-100)"},
                                                        {kWeapon2Damage, "(-100)"},
                                                        {kWeapon3Damage, "(-100)"},
                                                        {kRed, "(-2)"},
                                                        {kGreen, "(-2)"},
                                                        {kBlue, "(-2)"}};
  Script script;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto f = static_cast<std::int64_t>(3 * i + 1);
    script.MoveTo(f, lines[i].first.x, lines[i].first.y).Click(f + 1);
  }
  CloseAt(script, static_cast<std::int64_t>(3 * lines.size() + 1));
  Harness t = PanelGame(script);
  t.game.Money = 100000;
  const Game defaults(t.media);  // the start values, for comparison
  t.OpenStats();

  for (std::size_t i = 0; i < lines.size(); ++i) {
    // Hovered from the frame after the move on, bought in the frame after the press.
    const Canvas& hovered = t.Frame(3 * i + 2);
    if (lines[i].second.empty()) {
      EXPECT_TRUE(ShowsNoPrice(hovered)) << i;
    } else {
      EXPECT_TRUE(ShowsPrice(hovered, lines[i].second, true)) << i;
    }
  }
  const Game& g = t.game;
  const Game& d = defaults;
  EXPECT_EQ(g.Money, 100000 - 1706);
  EXPECT_EQ(g.Life.Max, 105.0f);
  EXPECT_EQ(g.Life.Refreshrate, d.Life.Refreshrate + std::bit_cast<float>(0x3A83126Eu));
  EXPECT_EQ(g.Energie.Max, 305.0f);
  EXPECT_EQ(g.Energie.Refreshrate, d.Energie.Refreshrate + std::bit_cast<float>(0x3B03126Eu));
  EXPECT_EQ(g.Boost.Max, d.Boost.Max + 0.01f);
  EXPECT_EQ(g.Boost.Refreshrate, d.Boost.Refreshrate + std::bit_cast<float>(0xBAC49BA5u));
  EXPECT_EQ(g.Shock.Damage, d.Shock.Damage + 0.01f);
  EXPECT_EQ(g.Shock.Range, 101);
  EXPECT_EQ(g.Shock.Refreshrate, d.Shock.Refreshrate + std::bit_cast<float>(0xBB03126Eu) +
                                     std::bit_cast<float>(0xBB03126Eu))
      << "both shock lines lower the shock's rate";
  EXPECT_EQ(g.Weapon1.Damage, 1.1f);
  EXPECT_EQ(g.Weapon2.Damage, 11.0f);
  EXPECT_EQ(g.Weapon3.Damage, 10.5f);
  EXPECT_EQ(t.Ship().Red, 205);
  EXPECT_EQ(t.Ship().Green, 45);
  EXPECT_EQ(t.Ship().Blue, 125);
  // Untouched: the weapons' periods and the figures that are no line's.
  EXPECT_EQ(g.Weapon1.Max, 2.0f);
  EXPECT_EQ(g.Life.Value, 100.0f);
}

// Figures from an edited ship file can hide a line or show one that is no sale; every other
// box still sells its own line.
TEST(StatsPanel, EachBoxBelongsToTheLineItStandsBeside) {
  Script script;
  // Energie shows no "Max : " line, so its refresh rate moves up into that place.
  script.MoveTo(1, kEnergieMax.x, kEnergieMax.y).Click(2);
  // Weapon 1 shows a "Max : " line (not sold) above its damage.
  script.MoveTo(4, kWeapon1Damage.x, kWeapon1Damage.y).Click(5);
  script.MoveTo(7, kWeapon1Damage.x, kWeapon1Damage.y + 15).Click(8);
  CloseAt(script, 10);
  Harness t = PanelGame(script);
  t.game.Money = 1000;
  t.game.Energie.Value = 0.4f;  // rounds to 0
  t.game.Weapon1.Value = 3;
  t.OpenStats();
  EXPECT_TRUE(ShowsText(t.Frame(1), 165, 165, "Refreshrate : 0.1"));
  EXPECT_TRUE(ShowsText(t.Frame(1), 515, 215, "Max : 2"));
  EXPECT_TRUE(ShowsText(t.Frame(1), 515, 230, "Damage : 1 "));
  EXPECT_EQ(t.game.Energie.Max, 300.0f);
  EXPECT_EQ(t.game.Energie.Refreshrate, 0.1f + std::bit_cast<float>(0x3B03126Eu));
  EXPECT_EQ(t.game.Weapon1.Max, 2.0f);
  EXPECT_EQ(t.game.Weapon1.Damage, 1.1f);
  EXPECT_EQ(t.game.Money, 1000 - 200 - 100);
  // Nothing else was bought: the boxes below kept their lines.
  EXPECT_EQ(t.game.Life.Max, 100.0f);
  EXPECT_EQ(t.game.Boost.Max, 1.5f);
}

TEST(StatsPanel, NothingIsSoldAtTheTopOfTheRangeOrForANegativePrice) {
  Script script;
  script.MoveTo(1, kShockRange.x, kShockRange.y).Click(2);
  script.MoveTo(4, kWeapon2Damage.x, kWeapon2Damage.y).Click(5);
  CloseAt(script, 7);
  Harness t = PanelGame(script);
  t.game.Money = 100000;
  t.game.Shock.Range = 32767;   // one more would wrap round to -32768
  t.game.Weapon2.Damage = -10;  // a price of -100 would pay the player
  t.OpenStats();
  EXPECT_TRUE(ShowsPrice(t.Frame(3), "(-65534)", false));
  EXPECT_TRUE(ShowsPrice(t.Frame(6), "(--100)", false));
  EXPECT_EQ(t.game.Money, 100000);
  EXPECT_EQ(t.game.Shock.Range, 32767);
  EXPECT_EQ(t.game.Shock.Refreshrate, -0.5f);
  EXPECT_EQ(t.game.Weapon2.Damage, -10.0f);
}

TEST(StatsPanel, MoneyBeyondFloatPrecisionLosesNoUnitAndIsRoundedOnce) {
  Script script;
  script.MoveTo(1, kLifeMax.x, kLifeMax.y).Click(2);
  script.MoveTo(4, kEnergieMax.x, kEnergieMax.y).Click(5);
  script.MoveTo(7, kLifeRefresh.x, kLifeRefresh.y).Click(8);
  CloseAt(script, 10);
  Harness t = PanelGame(script);
  t.game.Money = 20000001;  // above 2^24, where floats step by 2
  t.game.Energie.Max = 300.5f;
  t.OpenStats();
  // 20000001 - 100 - 300.5 = 19999600.5, rounded to even once; then 100 for the life rate.
  EXPECT_EQ(t.game.Money, 19999500);
  EXPECT_EQ(t.game.Energie.Max, 305.5f);
}

// --- In flight: the panel inside the frame loop ---------------------------------------------

// C tapped in flight: released at the examination of the frame loop's second frame, so the
// panel runs in the third, after two frames have been presented.
Script OpenedInFlight() {
  return Script().Tap(0, kKeyC);
}

TEST(StatsPanelInFlight, EscapeClosesThePanelAndTheGameGoesOn) {
  Script script = OpenedInFlight();
  CloseAt(script, 3);  // released at the panel's examination after 4 frames
  script.Down(8, kKeyEscape);
  Harness t = PanelGame(script, World::Generated);
  EXPECT_EQ(RunFrameLoop(t.game), LoopEnd::Escape);
  EXPECT_EQ(t.media.FramesPresented(), 9);
  EXPECT_FALSE(ShowsText(t.Frame(2), 370, 50, "STATS"));
  EXPECT_TRUE(ShowsText(t.Frame(3), 370, 50, "STATS"));
  EXPECT_TRUE(ShowsText(t.Frame(4), 370, 50, "STATS"));
  EXPECT_EQ(t.game.StatsOpen, 0);
  EXPECT_EQ(t.game.Buttons.CountList(), 0);
}

TEST(StatsPanelInFlight, AnEndWhileThePanelRunsEndsTheGameWithoutAnotherFrame) {
  Harness limited = PanelGame(OpenedInFlight(), World::Generated);
  limited.media.SetFrameLimit(6);
  EXPECT_EQ(RunFrameLoop(limited.game), LoopEnd::FrameLimit);
  EXPECT_EQ(limited.media.FramesPresented(), 6);
  EXPECT_TRUE(ShowsText(limited.LastFrame(), 370, 50, "STATS")) << "the last frame is the panel's";

  Harness closed = PanelGame(OpenedInFlight(), World::Generated, ScriptEnd{5, LoopEnd::Closed});
  EXPECT_EQ(RunFrameLoop(closed.game), LoopEnd::Closed);
  EXPECT_EQ(closed.media.FramesPresented(), 5);
}

TEST(StatsPanelInFlight, MouseMovementBeforeOpeningIsDiscarded) {
  Script script = OpenedInFlight();
  script.MoveTo(1, 300, 200);  // in flight, where the mouse is never examined
  script.MoveTo(4, 310, 210);  // in the panel
  CloseAt(script, 6);
  script.Down(9, kKeyEscape);
  Harness t = PanelGame(script, World::Generated);
  RunFrameLoop(t.game);
  EXPECT_EQ(t.media.MouseX(), 10);
  EXPECT_EQ(t.media.MouseY(), 10);
  // The first examination in the panel brings no movement: the arrow stays where it was.
  EXPECT_EQ(t.Frame(4).Pixel(0, 5), ScreenColor(255, 100, 100));
  EXPECT_NE(t.Frame(4).Pixel(300, 205), ScreenColor(255, 100, 100));
}

// A recorded visit to the panel, purchases included, replays to the same frames and figures:
// the movement dropped at the opening is recorded like any examination.
TEST(StatsPanelInFlight, ARecordedVisitReplaysTheSame) {
  Script script = OpenedInFlight();
  script.MoveTo(1, 50, 50).Press(1);  // in flight: the movement is dropped at the opening
  script.x = 0;
  script.y = 0;
  script.MoveTo(3, kRed.x, kRed.y).Release(3).Click(5);
  script.MoveTo(7, kWeapon3Damage.x, kWeapon3Damage.y).Click(8);
  CloseAt(script, 10);
  script.Down(14, kKeyEscape);
  starvane::testing::TempDirectory recordings;
  const auto path = recordings.Path() / "visit.txt";

  Harness first = PanelGame(script, World::Generated);
  AtHome(first, 500);
  first.media.RecordInputTo(InputRecorder::Create(path, ""));
  const LoopEnd end = RunFrameLoop(first.game);
  ASSERT_TRUE(first.media.FinishRecording(end));
  EXPECT_EQ(first.game.Weapon3.Damage, 10.5f) << "the visit bought something";

  auto loaded = LoadInputScript(path.string());
  ASSERT_TRUE(std::holds_alternative<InputScript>(loaded));
  Script replayed;
  replayed.events = std::get<InputScript>(loaded).events;
  Harness second = PanelGame(replayed, World::Generated);
  AtHome(second, 500);
  EXPECT_EQ(RunFrameLoop(second.game), end);
  EXPECT_EQ(second.game.Money, first.game.Money);
  EXPECT_EQ(second.game.Weapon3.Damage, first.game.Weapon3.Damage);
  EXPECT_EQ(second.Ship().Red, first.Ship().Red);
  ASSERT_EQ(second.Shown().size(), first.Shown().size());
  for (std::size_t i = 0; i < first.Shown().size(); ++i) {
    EXPECT_EQ(FrameHash(second.Shown()[i]), FrameHash(first.Shown()[i])) << i;
  }
}

// A shot keeps its damage in 16 bits: a weapon bought or loaded beyond them hits as hard as a
// shot can instead of wrapping round.
TEST(StatsPanelInFlight, WeaponDamageBeyondAShotsRangeSaturates) {
  Harness t({.held_keys = true, .seed = 3, .world = World::Generated});
  t.Hold(kKeySpace);
  for (const float damage : {70000.0f, -70000.0f, 1e30f, 32767.4f}) {
    t.game.ActiveWeapon = t.game.Weapon1;
    t.game.ActiveWeapon.Value = t.game.ActiveWeapon.Max;  // reloaded
    t.game.ActiveWeapon.Damage = damage;
    t.Controls();
    const std::int16_t expected = damage > 0 ? 32767 : -32768;
    EXPECT_EQ(t.game.Shots.Current().Damage, expected) << damage;
  }
}

}  // namespace
}  // namespace starvane
