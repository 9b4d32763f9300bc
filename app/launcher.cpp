#include "app/launcher.hpp"

#include <array>
#include <cstdio>
#include <string>

#include "media/text_quoting.hpp"

namespace starvane {
namespace {

constexpr int kLauncherWindow = 0;
constexpr int kNewShipWindow = 1;
constexpr int kShipListFile = 1;
constexpr const char* kShipListName = "ships.txt";

enum LauncherGadget : int {
  kDifficultyBox = 0,
  kEasy = 1,
  kNormal = 2,
  kHard = 3,
  kCrazy = 4,
  kShipList = 5,
  kShipsLabel = 6,
  kNewShip = 7,
  kOk = 8,
  kNameField = 9,
  kVeryEasy = 10,
};

struct Level {
  int button;
  float factor;
};
constexpr std::array<Level, 5> kLevels{
    {{kVeryEasy, 0.2f}, {kEasy, 1.0f}, {kNormal, 10.0f}, {kHard, 70.0f}, {kCrazy, 150.0f}}};

// Title bar and close box.
constexpr int kWindowFlags = 0xC80000;
constexpr int kLabelFlags = 0x20800;

std::string ShipListPath(const Game& game) {
  return Quoted((game.media.Files.Directory() / kShipListName).string());
}

// Adds the name as the last line of "ships.txt". A last line without its line end (written by
// hand) is ended first, or the two names would run into one.
void AppendShipName(Game& game, const std::string& name) {
  FileTable& files = game.media.Files;
  if (files.OpenFile(kShipListFile, kShipListName) == 0) {
    std::fprintf(stderr, "starvane: cannot open %s: the name %s is not added\n",
                 ShipListPath(game).c_str(), Quoted(name).c_str());
    return;
  }
  if (!files.AtEndOfEndedLine(kShipListFile)) files.WriteLine("");
  files.WriteLine(name);
  files.CloseFile(kShipListFile);
}

// The New Ship dialog: a name field holding "SHIPNAME" and "OK", which (or Enter) adds the name
// to the list file. It is modal: the launcher waits until it is closed. Returns how the program
// ends when it must end while the dialog is open.
std::optional<LoopEnd> RunNewShipDialog(Game& game, Windows& windows) {
  windows.OpenWindow(kNewShipWindow, 200, 200, 150, 80, kWindowFlags, "New Ship");
  windows.CreateGadgetList(kNewShipWindow);
  windows.ButtonGadget(kOk, 45, 45, 50, 20, "OK");
  windows.StringGadget(kNameField, 20, 10, 100, 20, "SHIPNAME");
  windows.SetDefaultButton(kOk);
  std::optional<LoopEnd> end;
  for (;;) {
    const int event = windows.WaitWindowEvent();
    if (event == kCloseEvent) {
      end = game.media.ShouldEnd();
      break;
    }
    // Each event is acted on once, as it comes, with the text the field holds at the click.
    if (event == kGadgetEvent && windows.EventGadgetID() == kOk) {
      AppendShipName(game, windows.GetGadgetText(kNameField));
      break;
    }
  }
  windows.CloseWindow(kNewShipWindow);
  windows.UseWindow(kLauncherWindow);
  return end;
}

void OpenLauncherWindow(Game& game, Windows& windows) {
  windows.OpenWindow(kLauncherWindow, 200, 200, 400, 150, kWindowFlags, "Starvane");
  windows.CreateGadgetList(kLauncherWindow);
  windows.FrameGadget(kDifficultyBox, 10, 10, 380, 80, "Difficulty", 0);
  windows.ButtonGadget(kEasy, 50, 55, 50, 20, "Easy");
  windows.ButtonGadget(kNormal, 120, 55, 50, 20, "Normal");
  windows.ButtonGadget(kHard, 190, 55, 50, 20, "Hard");
  windows.ButtonGadget(kCrazy, 260, 55, 80, 20, "Crazy Spacey");
  windows.ButtonGadget(kVeryEasy, 50, 30, 290, 20, "Very Easy for Newbies");
  windows.ComboBoxGadget(kShipList, 150, 100, 100, 50);
  if (!FillShipList(game, windows)) {
    std::fprintf(stderr, "starvane: cannot open %s: the ship list is empty\n",
                 ShipListPath(game).c_str());
  }
  windows.SetGadgetState(kShipList, 0);
  windows.StringGadget(kShipsLabel, 100, 100, 50, 20, "Ships : ", kLabelFlags);
  windows.ButtonGadget(kNewShip, 250, 100, 50, 20, "New");
}

}  // namespace

bool FillShipList(Game& game, Windows& windows) {
  FileTable& files = game.media.Files;
  if (files.OpenFile(kShipListFile, kShipListName) == 0) return false;
  windows.ClearGadgetItems(kShipList);
  while (files.Eof(kShipListFile) == 0) {
    game.ShipName = files.ReadLine();
    windows.AddGadgetItem(kShipList, -1, game.ShipName);
  }
  files.CloseFile(kShipListFile);
  return true;
}

std::optional<LoopEnd> RunLauncher(Game& game) {
  Windows windows(game.media);
  OpenLauncherWindow(game, windows);
  for (;;) {
    const int event = windows.WaitWindowEvent();
    if (event == kCloseEvent) return game.media.ShouldEnd().value_or(LoopEnd::Closed);
    if (event != kGadgetEvent) continue;
    const int gadget = windows.EventGadgetID();
    if (gadget == kNewShip) {
      if (const auto end = RunNewShipDialog(game, windows)) return end;
      FillShipList(game, windows);
      windows.SetGadgetState(kShipList, 0);
      continue;
    }
    for (const Level& level : kLevels) {
      if (gadget != level.button) continue;
      game.ShipName = windows.GetGadgetText(kShipList);
      game.Difficulty = level.factor;
      return {};
    }
  }
}

}  // namespace starvane
