// The launcher as a player works it, through scripted clicks and keys on its gadgets: the ship
// list from ships.txt, the New Ship dialog, and the five difficulties.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/launcher.hpp"
#include "base/utf8_text.hpp"
#include "gadgets/gadgets.hpp"
#include "media/media.hpp"
#include "media/quit_signal.hpp"
#include "tests/support/child_process.hpp"
#include "tests/support/harness.hpp"
#include "workshop/ship_file.hpp"
#include "world/game.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;
using starvane::testing::Setup;

// Where the launcher's gadgets are, in its window: buttons by their middles.
constexpr const char* kEasy = "75 65";
constexpr const char* kNormal = "145 65";
constexpr const char* kHard = "215 65";
constexpr const char* kNew = "275 110";
constexpr const char* kShipList = "200 110";
constexpr const char* kSecondListRow = "200 142";
// The New Ship dialog is centred over the launcher: its client area starts at (125, 44).
constexpr const char* kOk = "195 99";
constexpr const char* kDialogCloseBox = "268 35";

// A launcher whose input is the script, with ships.txt as given (none when absent), and the
// ship of that name held by another game on the same files when one is named.
Harness Launcher(const std::string& script, const char* ships_txt = nullptr,
                 const char* held_elsewhere = nullptr) {
  Setup setup{.script = script, .launcher = true};
  if (ships_txt != nullptr) setup.written = {{"ships.txt", ships_txt}};
  if (held_elsewhere != nullptr) setup.held_elsewhere = held_elsewhere;
  Harness run(std::move(setup));
  if (held_elsewhere != nullptr) {
    EXPECT_TRUE(run.elsewhere_locked);
  }
  return run;
}

// A click at frame f: the pointer goes there, the button goes down and comes up again.
std::string Click(int frame, const char* where) {
  return std::to_string(frame) + " pointer " + where + "\n" + std::to_string(frame + 1) +
         " press\n" + std::to_string(frame + 2) + " release\n";
}

std::string Key(int frame, const char* key) {
  return std::to_string(frame) + " down " + key + "\n" + std::to_string(frame + 1) + " up " + key +
         "\n";
}

TEST(Launcher, WithoutAShipADifficultyAsksForANameFirstAndTheEmptyNameStaysPossible) {
  // No ships.txt: one is made, empty; a difficulty opens New Ship, and its OK starts the game.
  Harness run = Launcher(Click(2, kEasy) + Click(6, kOk) + "30 end frames\n");
  EXPECT_FALSE(run.launcher_end);
  EXPECT_EQ(run.game.ShipName, "SHIPNAME");
  EXPECT_EQ(run.game.Difficulty, 1.0f);
  EXPECT_EQ(run.files.Read("ships.txt"), "SHIPNAME\r\n");

  // The dialog closed: no game, and the launcher goes on.
  Harness closed = Launcher(Click(2, kHard) + Key(6, "Escape") + "30 end frames\n", "");
  EXPECT_EQ(closed.launcher_end, LoopEnd::FrameLimit);
  EXPECT_EQ(closed.files.Read("ships.txt"), "");

  // The field erased on purpose: the empty name, as before.
  std::string erased = Click(2, kNormal) + "6 down Home\n6 up Home\n";
  for (int i = 0; i < 8; ++i) erased += "7 down Delete\n7 up Delete\n";
  Harness empty = Launcher(erased + Key(8, "Return") + "30 end frames\n", "");
  EXPECT_FALSE(empty.launcher_end);
  EXPECT_EQ(empty.game.ShipName, "");
  EXPECT_EQ(empty.game.Difficulty, 10.0f);
  EXPECT_EQ(empty.files.Read("ships.txt"), "\r\n");
}

TEST(Launcher, QuickKeysWithinOneFrameActOnceEachInTheScriptsOrder) {
  // Nine Backspaces (the ninth finds the field empty), typing and a cursor key, and one quick
  // Return, all within frame 6; the text typed after Return is not part of the name.
  std::string quick;
  for (int i = 0; i < 9; ++i) quick += "6 down Backspace\n6 up Backspace\n";
  quick += "6 type Na\n6 down Left\n6 up Left\n6 type ov\n6 down Return\n6 up Return\n6 type zz\n";
  Harness run = Launcher(Click(2, kNew) + quick + Click(10, kEasy) + "40 end frames\n", "");
  EXPECT_FALSE(run.launcher_end);
  EXPECT_EQ(run.files.Read("ships.txt"), "Nova\r\n");
  EXPECT_EQ(run.game.ShipName, "Nova");
}

// Everything a gadget draws on a canvas of another colour lies within the rectangle.
void ExpectDrawnWithin(const Canvas& canvas, int x, int y, int width, int height,
                       const std::string& what) {
  const std::uint16_t blank = ScreenColor(1, 2, 3);
  for (int py = 0; py < 200; ++py) {
    for (int px = 0; px < 420; ++px) {
      const bool inside = px >= x && px < x + width && py >= y && py < y + height;
      if (!inside && canvas.Pixel(px, py) != blank) {
        ADD_FAILURE() << what << " draws at (" << px << ", " << py << ")";
        return;
      }
    }
  }
}

TEST(Launcher, EveryGadgetTextStaysInsideItsGadgetAndTheListShowsEightRows) {
  std::string names;
  for (int i = 0; i < 12; ++i) names += "Ship number " + std::to_string(i) + "\r\n";
  Harness run({.written = {{"ships.txt", names}}});
  Windows windows(run.media);
  OpenLauncherWindow(run.game, windows, nullptr, true);
  OpenNewShipDialog(windows);
  ReplaySummary longest;
  longest.start = 4'102'444'799;  // 2099-12-31 23:59:59
  longest.ship = "A ship of a long name";
  longest.difficulty = 0.2f;
  longest.length = 300'000;
  longest.money_earned = -1'000'000;
  OpenReplaysDialog(windows, {{"x.txt", longest}});
  for (const int window : {0, 1, 2}) {
    for (const Gadget& g : windows.GadgetsOf(window)) {
      Canvas canvas;
      canvas.ClearScreen(1, 2, 3);
      DrawGadget(canvas, g, 0, 0, {.pressed = true, .focused = true});
      ExpectDrawnWithin(canvas, g.x, g.y, g.width, g.ClosedHeight(),
                        "gadget " + std::to_string(g.id) + " '" + g.text + "'");
      // A row of the Replays list shows whole beside the arrow box, within the text's margins.
      for (const std::string& row : window == 2 ? g.items : std::vector<std::string>{}) {
        EXPECT_LE(static_cast<int>(CharacterCount(row)) * kGadgetFontWidth + 16 + 6, g.width)
            << row;
      }
    }
  }
  // The opened list: eight rows, above the box where the window has no room below, and inside
  // the window.
  windows.CloseWindow(2);
  windows.CloseWindow(1);
  WindowInput input;
  input.pointer_x = 200;
  input.pointer_y = 110;
  input.button = true;
  windows.Examine(input);
  for (const Gadget& g : windows.GadgetsOf(0)) {
    if (!g.open) continue;
    EXPECT_EQ(g.ListRows(), 8);
    EXPECT_GE(g.ListTop(), 0);
    EXPECT_LE(g.ListTop() + g.ListHeight(), 150);
    Canvas canvas;
    canvas.ClearScreen(1, 2, 3);
    DrawOpenList(canvas, g, 0, 0);
    ExpectDrawnWithin(canvas, g.x, g.ListTop(), g.width, g.ListHeight(), "the opened list");
  }
}

// A display that counts the frames it was given to present.
class CountingDisplay final : public Display {
 public:
  explicit CountingDisplay(int& presented) : presented_(presented) {}
  bool OpenScreen(int, int, std::string_view) override { return true; }
  void SetFrameRate(int) override {}
  void Present(const Canvas&) override { ++presented_; }
  bool CloseRequested() const override { return false; }
  InputSource& LiveInput() override { return none_; }

 private:
  int& presented_;
  NoInput none_;
};

TEST(Launcher, AWindowAtRestIsNotDrawnAgainYetItsFramesCountAsBefore) {
  int presented = 0;
  Harness run({.script = "3 pointer 5 5\n12 pointer 6 5\n40 end frames\n",
               .display = std::make_unique<CountingDisplay>(presented),
               .launcher = true});
  EXPECT_EQ(run.launcher_end, LoopEnd::FrameLimit);
  EXPECT_EQ(run.media.FramesPresented(), 40);  // frames count alike, so scripts play alike
  EXPECT_EQ(presented, 3);  // the first frame, and one after each movement of the pointer
}

TEST(Launcher, EachDifficultyButtonStartsWithTheFirstShipSelected) {
  Harness normal = Launcher(Click(2, kNormal) + "30 end frames\n", "Alpha\r\nBeta\n");
  EXPECT_FALSE(normal.launcher_end);
  EXPECT_EQ(normal.game.ShipName, "Alpha");
  EXPECT_EQ(normal.game.Difficulty, 10.0f);

  Harness very_easy = Launcher(Click(2, "195 40") + "30 end frames\n", "Alpha\r\nBeta\n");
  EXPECT_EQ(very_easy.game.Difficulty, 0.2f);
  Harness crazy = Launcher(Click(2, "300 65") + "30 end frames\n", "Alpha\r\nBeta\n");
  EXPECT_EQ(crazy.game.Difficulty, 150.0f);

  // The second ship chosen in the opened list.
  Harness beta = Launcher(
      Click(2, kShipList) + Click(6, kSecondListRow) + Click(10, kHard) + "30 end frames\n",
      "Alpha\r\nBeta\n");
  EXPECT_EQ(beta.game.ShipName, "Beta");
  EXPECT_EQ(beta.game.Difficulty, 70.0f);
}

TEST(Launcher, OnlyADifficultyStartsTheGameAndAPressDraggedOffIsNoClick) {
  // A press on Easy released away from it, and a ship chosen: nothing starts.
  Harness run =
      Launcher("2 pointer " + std::string(kEasy) + "\n3 press\n4 pointer 75 120\n5 release\n" +
                   Click(8, kShipList) + Click(12, kSecondListRow) + "30 end frames\n",
               "Alpha\r\nBeta\n");
  EXPECT_EQ(run.launcher_end, LoopEnd::FrameLimit);
  EXPECT_EQ(run.media.FramesPresented(), 30);
}

TEST(Launcher, NewShipWithTheFieldUnchangedAddsShipnameAndSelectsTheFirstItemAgain) {
  Harness run = Launcher(Click(2, kShipList) + Click(6, kSecondListRow) + Click(10, kNew) +
                             Click(14, kOk) + Click(18, kEasy) + "40 end frames\n",
                         "Alpha\r\nBeta\r\n");
  EXPECT_FALSE(run.launcher_end);
  EXPECT_EQ(run.files.Read("ships.txt"), "Alpha\r\nBeta\r\nSHIPNAME\r\n");
  EXPECT_EQ(run.game.ShipName, "Alpha");  // the list was filled again, its first item selected
}

// F1 shows the controls over the whole game screen until F1 goes back; then a difficulty asks
// for a name, whose "SHIPNAME" is selected so that what the player types replaces it.
TEST(Launcher, F1ShowsTheControlsAndTheNewNameReplacesTheSelectedShipname) {
  Harness page = Launcher(Key(2, "F1") + "10 end frames\n", "");
  EXPECT_EQ(page.launcher_end, LoopEnd::FrameLimit);
  EXPECT_EQ(page.media.Screen.Pixel(61, 35), ScreenColor(128, 128, 128));  // the page's frame
  Harness run = Launcher(Key(2, "F1") + Key(6, "F1") + Click(10, kEasy) + "14 type Nova\n" +
                         Key(16, "Return") + "40 end frames\n");
  EXPECT_FALSE(run.launcher_end);
  EXPECT_EQ(run.game.ShipName, "Nova");
  EXPECT_EQ(run.files.Read("ships.txt"), "Nova\r\n");
}

TEST(Launcher, AnEmptiedFieldAddsAnEmptyNameAndEnterIsOk) {
  std::string script = Click(2, kNew) + Key(6, "End");
  for (int i = 0; i < 8; ++i) script += Key(8 + 2 * i, "Backspace");
  script += Key(30, "Return") + Click(34, kShipList) + Click(38, kSecondListRow) +
            Click(42, kEasy) + "60 end frames\n";
  Harness run = Launcher(script, "Alpha\r\n");
  EXPECT_FALSE(run.launcher_end);
  EXPECT_EQ(run.files.Read("ships.txt"), "Alpha\r\n\r\n");
  EXPECT_EQ(run.game.ShipName, "");  // the empty item is a ship like any other
}

TEST(Launcher, ANameTypedAfterALastLineWithoutLineEndStaysANameOfItsOwn) {
  Harness run = Launcher(Click(2, kNew) + Key(6, "End") + "8 type  Mk II\n" + Key(10, "Return") +
                             Click(14, kShipList) + Click(18, kSecondListRow) + Click(22, kEasy) +
                             "40 end frames\n",
                         "Alpha");
  EXPECT_EQ(run.files.Read("ships.txt"), "Alpha\r\nSHIPNAME Mk II\r\n");
  EXPECT_EQ(run.game.ShipName, "SHIPNAME Mk II");
}

TEST(Launcher, ClosingTheDialogAddsNothingAndDoesNotOpenItAgain) {
  // Closed by its close box, then by Escape; meanwhile a click on a difficulty behind the
  // modal dialog does nothing. Afterwards the launcher works as before.
  Harness run =
      Launcher(Click(2, kNew) + Click(6, kEasy) + Click(10, kDialogCloseBox) + Click(14, kNew) +
                   Key(18, "Escape") + Click(22, kHard) + "40 end frames\n",
               "Alpha\r\n");
  EXPECT_FALSE(run.launcher_end);
  EXPECT_EQ(run.game.Difficulty, 70.0f);
  EXPECT_EQ(run.files.Read("ships.txt"), "Alpha\r\n");
}

TEST(Launcher, EscapeOrTheEndOfTheScriptEndsTheProgramFromTheLauncher) {
  Harness escape = Launcher(Key(3, "Escape") + "30 end frames\n");
  EXPECT_EQ(escape.launcher_end, LoopEnd::Closed);
  EXPECT_EQ(escape.media.FramesPresented(), 3);

  Harness closed = Launcher("5 end closed\n");
  EXPECT_EQ(closed.launcher_end, LoopEnd::Closed);
  EXPECT_EQ(closed.media.FramesPresented(), 5);

  // Ending while the dialog is open ends the program too, without adding the name.
  Harness in_dialog = Launcher(Click(2, kNew) + "9 end frames\n");
  EXPECT_EQ(in_dialog.launcher_end, LoopEnd::FrameLimit);
  EXPECT_EQ(in_dialog.media.FramesPresented(), 9);
  EXPECT_EQ(in_dialog.files.Read("ships.txt"), "");
}

TEST(Launcher, AShipListThatCannotBeOpenedLeavesTheListEmptyAndTheGameCanStart) {
  starvane::testing::TempDirectory dir;
  std::filesystem::create_directory(dir.Path() / "ships.txt");  // a directory cannot be read
  const std::string script = Click(2, kNew) + Click(6, kOk) + Click(10, kEasy);
  Harness run({.files = dir.Path(), .script = script, .launcher = true});
  EXPECT_FALSE(run.launcher_end);
  // The name could not be saved, but it is the ship the player chose: it is flown.
  EXPECT_EQ(run.game.ShipName, "SHIPNAME");
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "ships.txt"));
}

TEST(Launcher, NamesAreUtf8AndOlderSingleByteLinesAreReadAsWindows1252) {
  // The same name written by an older game and by this one.
  Harness first = Launcher(Click(2, kEasy) + "30 end frames\n", "N\xF6va\r\nN\xC3\xB6va\r\n");
  EXPECT_EQ(first.game.ShipName, "N\xC3\xB6va");
  Harness second = Launcher(
      Click(2, kShipList) + Click(6, kSecondListRow) + Click(10, kEasy) + "30 end frames\n",
      "N\xF6va\r\nN\xC3\xB6va\r\n");
  EXPECT_EQ(second.game.ShipName, "N\xC3\xB6va");

  // Backspace takes the whole last character typed; the name is written as UTF-8.
  Harness typed =
      Launcher(Click(2, kNew) + Key(6, "End") + "8 type  \xC3\xA4\n" + Key(10, "Backspace") +
                   "12 type \xC3\xB6\n" + Key(14, "Return") + Click(18, kEasy) + "40 end frames\n",
               "Alpha\r\n");
  EXPECT_EQ(typed.files.Read("ships.txt"), "Alpha\r\nSHIPNAME \xC3\xB6\r\n");
}

// A ship an older game saved under a line's own bytes flies from that file (or from its older
// %25 form) when the name shown for the line has none; one that has a file flies as shown.
TEST(Launcher, AnOlderLineThatIsNotUtf8FliesTheFileItsBytesName) {
  const std::string script = Click(2, kEasy) + "30 end frames\n";
  const auto fly = [&script](std::string line, std::vector<std::string> files) {
    starvane::testing::Setup setup{.script = script, .launcher = true};
    setup.written = {{"ships.txt", line + "\r\n"}};
    for (const std::string& file : files) setup.written.emplace_back(file, "1\r\n");
    return Harness(std::move(setup)).game.ShipName;
  };
  EXPECT_EQ(fly("Caf\xE9", {"Caf\xE9.shp"}), "Caf\xE9");
  EXPECT_EQ(fly("R%\xE9", {"R%25\xE9.shp"}), "R%\xE9");
  EXPECT_EQ(fly("Caf\xE9", {"Caf\xE9.shp", "Caf\xC3\xA9.shp"}), "Caf\xC3\xA9");
}

TEST(Launcher, ANewNameHoldsSixtyCharactersAtMost) {
  Harness run = Launcher(Click(2, kNew) + Key(6, "End") + "8 type " + std::string(70, 'x') + "\n" +
                             Key(10, "Return") + Click(14, kEasy) + "40 end frames\n",
                         "");
  EXPECT_EQ(run.files.Read("ships.txt"), "SHIPNAME" + std::string(52, 'x') + "\r\n");
}

#ifndef _WIN32  // a plain user in a child process (fork, setuid)
TEST(Launcher, AReadOnlyShipListIsListedAndANameItRefusesIsStillFlown) {
  starvane::testing::TempDirectory dir;
  dir.Write("ships.txt", "Alpha\r\nBeta\r\n");
  std::filesystem::permissions(dir.Path() / "ships.txt", std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::group_read |
                                                             std::filesystem::perms::others_read);
  starvane::testing::OpenToPlainUsers(dir.Path());
  // The ship chosen, as the child's exit code: 1 for Alpha, 2 for SHIPNAME, else 3.
  const auto launch = [&](const std::string& script) {
    return starvane::testing::InChildProcess(
        [&] {
          Harness run({.files = dir.Path(), .script = script, .launcher = true});
          if (run.launcher_end) return 3;
          const std::string& ship = run.game.ShipName;
          return ship == "Alpha" ? 1 : ship == "SHIPNAME" ? 2 : 3;
        },
        true);
  };
  EXPECT_EQ(launch(Click(2, kEasy)), 1);
  EXPECT_EQ(launch(Click(2, kNew) + Click(6, kOk) + Click(10, kEasy)), 2);
  EXPECT_EQ(dir.Read("ships.txt"), "Alpha\r\nBeta\r\n");
}
#endif  // _WIN32

#ifndef _WIN32  // fork and SIGINT
TEST(Launcher, TheShipListIsReadUpToItsFirstMebibyteAndNotAfterAQuitSignal) {
  starvane::testing::TempDirectory dir;
  std::string list;
  for (int i = 0; i < 2048; ++i) {
    const std::string number = std::to_string(10000 + i);
    list += number + std::string(1023 - number.size(), '.') + "\n";
  }
  dir.Write("ships.txt", list);
  const auto fill = [&dir](std::string& last) {
    Media media(dir.Path());
    Game game(media);
    Windows windows(media);
    windows.OpenWindow(0, 400, 150, "Starvane");
    windows.ComboBoxGadget(5, 150, 100, 100, 50);
    EXPECT_TRUE(FillShipList(game, windows));
    last = game.ShipName;
    return windows.CountGadgetItems(5);
  };
  std::string last;
  EXPECT_EQ(fill(last), 1024);
  EXPECT_EQ(last.substr(0, 5), "11023");

  // Once SIGINT came, nothing more is read (in a child: the signal stays noted for good).
  EXPECT_EQ(starvane::testing::InChildProcess([&] {
              CatchQuitSignals();
              raise(SIGINT);
              std::string unread;
              return fill(unread) == 0 ? 0 : 1;
            }),
            0);
}
#endif  // _WIN32

TEST(Launcher, AShipThatAnotherGameFliesCannotBeChosen) {
  Harness run = Launcher(Click(2, kEasy) + Click(6, kShipList) + Click(10, kSecondListRow) +
                             Click(14, kEasy) + "40 end frames\n",
                         "Alpha\r\nBeta\r\n", "Alpha");
  EXPECT_FALSE(run.launcher_end);
  EXPECT_EQ(run.game.ShipName, "Beta");
  EXPECT_GE(run.media.FramesPresented(), 14);
  std::string why;
  EXPECT_FALSE(run.elsewhere->LockShip(ShipFileName("Beta"), why));  // this game holds it
}

// A kept game in the files directory's replays/ folder.
void Keep(const Harness& run, const std::string& name, const std::string& ship) {
  std::filesystem::create_directories(run.files.Path() / "replays");
  run.files.Write("replays/" + name, "date 2026-12-10T13:40:05Z\ndifficulty hard\nship " + ship +
                                         "\n0 pointer 1 2\n500 end closed\n");
}

TEST(Launcher, ReplaysListsTheKeptGamesNewestFirstAndPlayChoosesOneThatIsNotDamaged) {
  starvane::testing::TempDirectory files;
  {
    Harness setup({.files = files.Path()});
    Keep(setup, "2026-12-09_10-00-00.txt", "Older");
    Keep(setup, "2026-12-10_10-00-00.txt", "Newer");
    setup.files.Write("replays/2026-12-11_10-00-00.txt", "no recording at all\n");
  }
  // The newest is damaged: Play refuses it. The second row (Newer) is chosen from the opened
  // list and played; Escape or the close box instead closes the dialog and chooses nothing.
  constexpr const char* kReplaysButton = "50 110";
  constexpr const char* kPlay = "360 132";
  constexpr const char* kReplaysList = "200 56";
  constexpr const char* kSecondReplay = "200 85";
  const std::string choose = Click(2, kReplaysButton) + Click(6, kPlay) + Click(10, kReplaysList) +
                             Click(14, kSecondReplay) + Click(18, kPlay) + "40 end frames\n";
  Harness chose({.files = files.Path(), .script = choose, .launcher = true});
  EXPECT_EQ(chose.launcher_end, LoopEnd::Closed);
  EXPECT_EQ(chose.launcher_watch, files.Path() / "replays" / "2026-12-10_10-00-00.txt");
  Harness closed({.files = files.Path(),
                  .script = Click(2, kReplaysButton) + Key(6, "Escape") + "40 end frames\n",
                  .launcher = true});
  EXPECT_EQ(closed.launcher_end, LoopEnd::FrameLimit);
  EXPECT_TRUE(closed.launcher_watch.empty());
  Windows windows(closed.media);
  OpenReplaysDialog(windows, ListReplays(files.Path() / "replays"));
  for (const Gadget& g : windows.GadgetsOf(2)) {
    if (g.kind != GadgetKind::ComboBox) continue;
    ASSERT_EQ(g.items.size(), 3u);
    EXPECT_NE(g.items[0].find("damaged"), std::string::npos) << g.items[0];
    EXPECT_NE(g.items[1].find("Newer       Hard         0:10  ?"), std::string::npos) << g.items[1];
    EXPECT_NE(g.items[2].find("Older"), std::string::npos) << g.items[2];
  }
}

}  // namespace
}  // namespace starvane
