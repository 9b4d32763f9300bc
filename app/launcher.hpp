#pragma once
// The launcher: a small window where the player picks a ship from the list in "ships.txt", may
// add a new name, and starts the game with one of five difficulties; or picks a kept game to
// watch from its Replays list.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/options_page.hpp"
#include "gadgets/windows.hpp"
#include "media/loop_end.hpp"
#include "replay/replay_list.hpp"
#include "world/game.hpp"

namespace starvane {

// Fills the ship list (gadget 5) from "ships.txt", created empty when missing; the file is only
// read, so a read-only list is listed too. Names are UTF-8 (lines that are not valid UTF-8 are
// read as Windows-1252); at most the first MiB is read, and nothing more once a quit signal
// came; a file over 16 MiB, or anything but a regular file, is refused. ShipName is left holding
// the last name read. A file that cannot be read leaves the list as it was: false, with the
// reason in why when given.
//
// The lines that were not UTF-8, by the name listed for them, go to older_lines when given: the
// ship such a line names may have its file under the line's own bytes (ShipNameForListLine).
using NonUtf8ListLines = std::map<std::string, std::string>;
bool FillShipList(Game& game, Windows& windows, std::string* why = nullptr,
                  NonUtf8ListLines* older_lines = nullptr);

// The launcher's window (0), with the Options button, the Replays button when `replays`, the New
// Ship dialog (1) and the Replays dialog (2) listing these kept games, as they open, with their
// gadgets.
void OpenLauncherWindow(Game& game, Windows& windows, NonUtf8ListLines* older_lines = nullptr,
                        bool replays = false);
void OpenNewShipDialog(Windows& windows);
void OpenReplaysDialog(Windows& windows, const std::vector<ReplayListing>& listed);

// Runs the launcher until a difficulty button is clicked for a ship that no other running game
// holds: then this game holds that ship (Media::LockShip), ShipName is the selected ship ("" when
// the list is empty; for a line that was not UTF-8, ShipNameForListLine's choice) and Difficulty
// that button's factor, and nothing is returned. A ship held by another game is refused with a
// message, and the launcher goes on. Otherwise returns how the program ends: closed (the close box,
// Escape, a signal) or by the end of --frames or of the input script.
//
// Given `watch`, the launcher has a Replays button: a kept game chosen in its dialog ends the
// launcher as closed, with the recording's path in `watch` (empty otherwise); the program then
// watches it (app/main_sequence.cpp).
//
// Given the options page, the Options button opens it when the keys are the player's
// (app/options_page.hpp); in a replay the button does nothing.
std::optional<LoopEnd> RunLauncher(Game& game, std::filesystem::path* watch = nullptr,
                                   OptionsPage* options = nullptr);

}  // namespace starvane
