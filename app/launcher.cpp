#include "app/launcher.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/help_page.hpp"
#include "base/text_quoting.hpp"
#include "base/utf8_text.hpp"
#include "files/append_line.hpp"
#include "files/path_text.hpp"
#include "media/keys.hpp"
#include "media/quit_signal.hpp"
#include "replay/replay_list.hpp"
#include "workshop/ship_file.hpp"

namespace starvane {
namespace {

constexpr int kLauncherWindow = 0;
constexpr int kNewShipWindow = 1;
constexpr int kReplaysWindow = 2;
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
  kMessageLine = 11,  // made only when the launcher has something to tell the player
  kHelpHint = 12,
  kReplays = 13,  // made only when the caller can watch a kept game
  kOptionsButton = 14,
};
// The Replays dialog's gadgets.
enum ReplaysGadget : int {
  kReplaysHeading = 20,
  kReplaysList = 21,
  kPlay = 22,
  kReplaysMessage = 23,
};
// The opened list of kept games shows up to six rows; more scroll.
constexpr int kShownReplays = 6;
constexpr int kControlsShortcut = 1;  // F1

// The opened ship list shows up to eight names; more scroll.
constexpr int kShownShips = 8;

struct Level {
  int button;
  float factor;
};
constexpr std::array<Level, 5> kLevels{
    {{kVeryEasy, 0.2f}, {kEasy, 1.0f}, {kNormal, 10.0f}, {kHard, 70.0f}, {kCrazy, 150.0f}}};

// A read-only text field without a border: a label.
constexpr int kLabelFlags = kStringReadOnly | kStringBorderless;

// A ship name names the ship's file: the name and ".shp" must stay within the 255 bytes that
// file systems allow a file name. A character takes at most 4 bytes in UTF-8 (a byte written
// %XX takes 3), so 60 characters make at most 244 bytes. Typing beyond them is ignored.
constexpr int kMostNameCharacters = 60;

// The ship list is read up to its first MiB: some ten thousand names, more than any list can
// show. A file over 16 MiB is no list of names at all and is refused whole, so that no single
// line of gigabytes is ever read; one that never ends (a pipe, a device) is no file and is
// refused too.
constexpr std::size_t kMostShipListBytes = std::size_t{1} << 20;
constexpr std::uintmax_t kMostShipListFileBytes = std::uintmax_t{16} << 20;

std::string ShipListPath(const Game& game) {
  return Quoted(TextOfPath(game.media.Files.Directory() / kShipListName));
}

// Adds the name as the last line of "ships.txt" (created when missing). False, said on
// standard error, when it cannot be written, or when it would start beyond the part of the
// list that is read, where no launcher would ever show it.
bool AppendShipName(Game& game, const std::string& name) {
  const std::error_code error =
      AppendLine(game.media.Files.Directory(), kShipListName, name, kMostShipListBytes);
  if (!error) return true;
  const std::string why = error == std::errc::file_too_large
                              ? "the list is longer than the 1 MiB the launcher reads"
                              : error.message();
  std::fprintf(stderr, "starvane: cannot add the name %s to %s (%s): it is kept for this game\n",
               Quoted(name).c_str(), ShipListPath(game).c_str(), why.c_str());
  return false;
}

// A line under the gadgets, where the launcher tells the player what went wrong. It is made
// only then, so the window looks as ever while all goes well.
void SayInWindow(Windows& windows, std::string_view message) {
  windows.UseWindow(kLauncherWindow);
  windows.StringGadget(kMessageLine, 10, 125, 290, 20, message, kLabelFlags);
}

// What came of the New Ship dialog: the program must end, or a name could not be saved.
struct NewShipOutcome {
  std::optional<LoopEnd> end;
  bool named = false;  // "OK" gave a name (saved or not); false when the dialog was closed
  std::optional<std::string> unsaved_name;
};

// The New Ship dialog: a name field holding "SHIPNAME", selected, and "OK", which (or Enter) adds
// the name to the list file. It is modal: the launcher waits until it is closed.
NewShipOutcome RunNewShipDialog(Game& game, Windows& windows) {
  OpenNewShipDialog(windows);
  NewShipOutcome outcome;
  for (;;) {
    const int event = windows.WaitWindowEvent();
    if (event == kCloseEvent) {
      outcome.end = game.media.ShouldEnd();
      break;
    }
    // Each event is acted on once, as it comes, with the text the field holds at the click.
    if (event == kGadgetEvent && windows.EventGadgetID() == kOk) {
      const std::string name = windows.GetGadgetText(kNameField);
      outcome.named = true;
      if (!AppendShipName(game, name)) outcome.unsaved_name = name;
      break;
    }
  }
  windows.CloseWindow(kNewShipWindow);
  windows.UseWindow(kLauncherWindow);
  return outcome;
}

// The list after the New Ship dialog: ships.txt read again, then the names that could not be
// saved in it during this game, so that a ship the player named can still be flown. The first
// item is selected, or the name just refused, which is the ship the player chose.
void RefillShipList(Game& game, Windows& windows, const std::vector<std::string>& unsaved_names,
                    bool last_refused, NonUtf8ListLines& older_lines) {
  if (FillShipList(game, windows, nullptr, &older_lines)) {
    for (const std::string& name : unsaved_names) windows.AddGadgetItem(kShipList, -1, name);
  } else if (last_refused) {
    windows.AddGadgetItem(kShipList, -1, unsaved_names.back());  // the list stays as it was
  }
  windows.SetGadgetState(kShipList, last_refused ? windows.CountGadgetItems(kShipList) - 1 : 0);
  if (last_refused) SayInWindow(windows, "Not saved in ships.txt: kept for this game");
}

// Takes the ship for this game, so that no other game flies it at the same time. False, said
// on standard error and in the window, when another game holds it or its lock file is unusable.
bool TakeShip(Game& game, Windows& windows, const std::string& name) {
  std::string why;
  if (!game.media.LockShip(ShipFileName(name), why)) {
    std::fprintf(stderr, "starvane: ship %s %s\n", Quoted(name).c_str(), why.c_str());
    SayInWindow(windows, why == kShipInAnotherGame
                             ? "That ship is in another game"
                             : "That ship cannot be locked: see the terminal");
    return false;
  }
  if (!why.empty()) std::fprintf(stderr, "starvane: %s\n", why.c_str());
  return true;
}

// F1 in the launcher: the controls page, in a window of the game's size, until F1, P or Escape
// goes back (a press, not a held key's repeats). The way the program ends when it must end
// meanwhile.
std::optional<LoopEnd> ShowControls(Game& game, Windows& windows) {
  Media& media = game.media;
  media.ShowWindowArea(kScreenWidth, kScreenHeight, "Starvane: controls");
  media.Screen.ClearScreen(0, 0, 0);
  media.Screen.StartDrawing();
  DrawHelpPage(media, HelpFrom::Launcher);
  std::optional<LoopEnd> end;
  const auto down_now = [&] {
    KeyStates keys{};
    for (int key = 0; key < kKeyCount; ++key) {
      keys[static_cast<std::size_t>(key)] = media.KeyboardPushed(key) != 0 ? 1 : 0;
    }
    return keys;
  };
  KeyStates down = down_now();
  bool changed = true;
  for (;;) {
    if ((end = media.ShouldEnd())) break;
    changed = media.PresentIfChanged(changed);
    media.ExamineKeyboard();
    const auto pressed = [&](int key) {
      return media.KeyWentDown(key) && down[static_cast<std::size_t>(key)] == 0;
    };
    if (pressed(kKeyF1) || pressed(kKeyP) || pressed(kKeyEscape)) break;
    down = down_now();
  }
  // The keys the page took are the launcher's no more: those still held stay held there.
  windows.ResetKeys(down_now());
  windows.ShowWindowAreaAgain();
  return end;
}

// The Replays dialog: the kept games in the files directory's replays/ folder, newest first,
// in a drop-down list; "Play" (or Enter) chooses the selected one, whose path is returned. It is
// modal, like New Ship: closed, it chooses nothing and the launcher goes on (or the program
// ends, when it must: `end`).
std::filesystem::path RunReplaysDialog(Game& game, Windows& windows, std::optional<LoopEnd>& end) {
  const std::vector<ReplayListing> listed = ListReplays(game.media.Files.Directory() / "replays");
  OpenReplaysDialog(windows, listed);
  std::filesystem::path chosen;
  for (;;) {
    const int event = windows.WaitWindowEvent();
    if (event == kCloseEvent) {
      end = game.media.ShouldEnd();
      break;
    }
    if (event != kGadgetEvent || windows.EventGadgetID() != kPlay) continue;
    const int index = windows.GetGadgetState(kReplaysList);
    if (index < 0 || static_cast<std::size_t>(index) >= listed.size()) continue;
    const ReplayListing& listing = listed[static_cast<std::size_t>(index)];
    if (listing.summary.damaged) {
      windows.StringGadget(kReplaysMessage, 6, 100, 310, 20,
                           "That recording is damaged: it cannot be played", kLabelFlags);
      continue;
    }
    chosen = listing.path;
    break;
  }
  windows.CloseWindow(kReplaysWindow);
  windows.UseWindow(kLauncherWindow);
  return chosen;
}

}  // namespace

void OpenReplaysDialog(Windows& windows, const std::vector<ReplayListing>& listed) {
  windows.OpenWindow(kReplaysWindow, 392, 124, "Replays");
  windows.CreateGadgetList(kReplaysWindow);
  // The rows' columns line up under the heading's: the gadgets' font has one width.
  windows.StringGadget(kReplaysHeading, 8, 4, 378, 18,
                       "Date              Ship        Level      Length  Money", kLabelFlags);
  windows.ComboBoxGadget(kReplaysList, 6, 24, 380, ComboHeightFor(kShownReplays));
  for (const ReplayListing& listing : listed) {
    const std::int64_t start = listing.summary.start.value_or(0);
    windows.AddGadgetItem(kReplaysList, -1, ReplayListRow(listing.summary, LocalUtcOffset(start)));
  }
  windows.SetGadgetState(kReplaysList, 0);
  windows.ButtonGadget(kPlay, 326, 100, 60, 20, "Play");
  windows.SetDefaultButton(kPlay);
  if (listed.empty()) {
    windows.StringGadget(kReplaysMessage, 6, 100, 310, 20, "No games kept yet", kLabelFlags);
  }
}

void OpenLauncherWindow(Game& game, Windows& windows, NonUtf8ListLines* older_lines, bool replays) {
  windows.OpenWindow(kLauncherWindow, 400, 150, "Starvane");
  windows.CreateGadgetList(kLauncherWindow);
  windows.FrameGadget(kDifficultyBox, 10, 10, 380, 80, "Difficulty", 0);
  windows.ButtonGadget(kEasy, 50, 55, 50, 20, "Easy");
  windows.ButtonGadget(kNormal, 120, 55, 50, 20, "Normal");
  windows.ButtonGadget(kHard, 190, 55, 50, 20, "Hard");
  windows.ButtonGadget(kCrazy, 260, 55, 80, 20, "Crazy Spacey");
  windows.ButtonGadget(kVeryEasy, 50, 30, 290, 20, "Very Easy for Newbies");
  windows.ComboBoxGadget(kShipList, 150, 100, 100, ComboHeightFor(kShownShips));
  std::string why;
  const bool listed = FillShipList(game, windows, &why, older_lines);
  windows.SetGadgetState(kShipList, 0);
  windows.StringGadget(kShipsLabel, 100, 100, 50, 20, "Ships : ", kLabelFlags);
  windows.ButtonGadget(kNewShip, 250, 100, 50, 20, "New");
  // For a newcomer, in the free space right of "New": where the controls are told.
  windows.StringGadget(kHelpHint, 310, 100, 80, 20, "F1: controls", kLabelFlags);
  // The kept games, in the free room left of the ship list.
  if (replays) windows.ButtonGadget(kReplays, 10, 100, 80, 20, "Replays");
  // The player's options, under the controls' hint, right of where messages are told.
  windows.ButtonGadget(kOptionsButton, 310, 125, 80, 20, "Options");
  windows.AddKeyboardShortcut(kKeyF1, kControlsShortcut);
  if (!listed) {
    std::fprintf(stderr, "starvane: cannot read %s (%s): the ship list is empty\n",
                 ShipListPath(game).c_str(), why.c_str());
    SayInWindow(windows, "Cannot read ships.txt");
  }
}

void OpenNewShipDialog(Windows& windows) {
  windows.OpenWindow(kNewShipWindow, 150, 80, "New Ship");
  windows.CreateGadgetList(kNewShipWindow);
  windows.ButtonGadget(kOk, 45, 45, 50, 20, "OK");
  windows.StringGadget(kNameField, 20, 10, 100, 20, "SHIPNAME");
  windows.SetGadgetMaxLength(kNameField, kMostNameCharacters);
  windows.SelectGadgetText(kNameField);  // the player's first keys replace it
  windows.SetDefaultButton(kOk);
}

bool FillShipList(Game& game, Windows& windows, std::string* why, NonUtf8ListLines* older_lines) {
  FileTable& files = game.media.Files;
  if (files.ReadFile(kShipListFile, kShipListName, kMostShipListFileBytes) == 0) {
    if (files.LastOpenError() != std::errc::no_such_file_or_directory) {
      if (why != nullptr) *why = files.LastOpenError().message();
      return false;
    }
    // A missing list is made, empty, where the directory allows it; it lists nothing.
    if (files.OpenFile(kShipListFile, kShipListName) != 0) files.CloseFile(kShipListFile);
    windows.ClearGadgetItems(kShipList);
    if (older_lines != nullptr) older_lines->clear();
    return true;
  }
  windows.ClearGadgetItems(kShipList);
  if (older_lines != nullptr) older_lines->clear();
  // Each line is a name: UTF-8 when it is valid UTF-8, else the single-byte text of older
  // lists. The reading stops at kMostShipListBytes, or at once when the player asks the game
  // to end (SIGINT, SIGTERM).
  std::size_t bytes_read = 0;
  while (files.Eof(kShipListFile) == 0 && bytes_read < kMostShipListBytes && !QuitSignalled()) {
    const std::string line = files.ReadLine();
    bytes_read += line.size() + 1;
    game.ShipName = IsUtf8(line) ? line : Windows1252ToUtf8(line);
    if (older_lines != nullptr && game.ShipName != line) older_lines->emplace(game.ShipName, line);
    windows.AddGadgetItem(kShipList, -1, game.ShipName);
  }
  const std::error_code error = files.ReadError(kShipListFile);
  files.CloseFile(kShipListFile);
  if (error && why != nullptr) *why = error.message();
  return !error;
}

std::optional<LoopEnd> RunLauncher(Game& game, std::filesystem::path* watch, OptionsPage* options) {
  game.media.SetInputMode(InputMode::Windows);
  Windows windows(game.media);
  NonUtf8ListLines older_lines;
  OpenLauncherWindow(game, windows, &older_lines, watch != nullptr);
  std::vector<std::string> unsaved_names;  // names the player gave that ships.txt refused
  for (;;) {
    const int event = windows.WaitWindowEvent();
    if (event == kCloseEvent) return game.media.ShouldEnd().value_or(LoopEnd::Closed);
    if (event == kShortcutEvent && windows.EventShortcut() == kControlsShortcut) {
      if (const auto end = ShowControls(game, windows)) return end;
      continue;
    }
    if (event != kGadgetEvent) continue;
    const int gadget = windows.EventGadgetID();
    if (gadget == kOptionsButton) {
      if (options == nullptr || !game.media.PlayerAtKeys()) continue;
      if (const auto end = RunOptionsPage(game, *options, OptionsFrom::Launcher)) return end;
      windows.ShowWindowAreaAgain();
      continue;
    }
    if (gadget == kReplays && watch != nullptr) {
      std::optional<LoopEnd> end;
      *watch = RunReplaysDialog(game, windows, end);
      if (end) return end;
      if (!watch->empty()) return LoopEnd::Closed;
      continue;
    }
    const bool level_chosen = std::any_of(kLevels.begin(), kLevels.end(),
                                          [gadget](const Level& l) { return l.button == gadget; });
    // With no ship to fly, a difficulty asks for a name first: the game starts with the ship
    // named, or not at all when the dialog is closed. (An empty name stays possible, for a player
    // who erases the field on purpose.)
    const bool no_ship = level_chosen && windows.CountGadgetItems(kShipList) == 0;
    if (gadget == kNewShip || no_ship) {
      NewShipOutcome outcome = RunNewShipDialog(game, windows);
      if (outcome.end) return outcome.end;
      const bool named = outcome.named;
      if (outcome.unsaved_name) unsaved_names.push_back(std::move(*outcome.unsaved_name));
      RefillShipList(game, windows, unsaved_names, outcome.unsaved_name.has_value(), older_lines);
      if (!no_ship || !named || windows.CountGadgetItems(kShipList) == 0) continue;
    }
    for (const Level& level : kLevels) {
      if (gadget != level.button) continue;
      std::string name = windows.GetGadgetText(kShipList);
      if (const auto line = older_lines.find(name); line != older_lines.end()) {
        name = ShipNameForListLine(game.media.Files.Directory(), name, line->second);
      }
      if (!TakeShip(game, windows, name)) break;  // the player may choose another ship
      game.ShipName = name;
      game.Difficulty = level.factor;
      return {};
    }
  }
}

}  // namespace starvane
