#pragma once
// The player's settings: kept in settings.txt next to the ship files, plain text, one
// "name value" a line:
//
//   volume 70          0 to 100
//   mute no            yes or no
//   scale sharp        sharp or integer (how the picture fills the screen)
//   screen full        full or window
//   keys.fire Space PadA   an action's keys and controller inputs (media/key_bindings.hpp)
//
// A player may edit the file by hand, and a later version of the game may know lines that this
// one does not: every line it does not know is kept, in its place, and written back as it was.
// A damaged line (a known name with a value it cannot take, a line with no name, one that is not
// UTF-8) stops the reading there: the lines before it count, and the rest of the file is kept
// byte for byte for the next save, where the player can mend it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.hpp"
#include "media/key_bindings.hpp"
#include "media/screen_fit.hpp"

namespace starvane {

// What a player chooses on the options page.
struct PlayerChoices {
  int volume = 100;  // 0 to 100
  bool mute = false;
  ScreenOptions screen;
  KeyBindings keys;
  bool operator==(const PlayerChoices&) const = default;
};

// settings.txt as read, and as it is to be written again.
struct SettingsFile {
  PlayerChoices choices;
  // The lines read, in their order, without their line ends; known ones are written back with
  // the values chosen since.
  std::vector<std::string> lines;
  // The file from its first damaged line on, byte for byte: written back after the rest.
  std::string unread;
  // The file is there but could not be read (too large, or no file the game can read): it is
  // never written over, so that nothing of it is lost.
  bool kept_as_it_is = false;
};

// A file over this size is no settings file the game wrote: it is not read at all.
constexpr std::size_t kMostSettingsBytes = std::size_t{64} << 10;

// The settings the bytes hold. A damaged line is told in `damage` when given ("line 7:
// 'volume 300': the volume is a whole number from 0 to 100"), empty when there was none.
SettingsFile ParseSettings(std::string_view bytes, std::string* damage = nullptr);
// The bytes of the file with the choices it holds now: its lines in their order, the known
// ones with their values now, then the settings it did not name yet, then the unread rest.
std::string SettingsText(const SettingsFile& file);

// settings.txt of the files directory, read; a file that is absent gives the defaults. What
// went wrong (a damaged line, a file that cannot be read) is said once on standard error.
SettingsFile ReadSettingsFile(const std::filesystem::path& directory);
// Replaces settings.txt as a whole (files/atomic_write.hpp); false, said on standard error,
// when it cannot be written or must be kept as it is.
bool WriteSettingsFile(const std::filesystem::path& directory, const SettingsFile& file);

// The choices for this run: the saved ones, except where the command line chose (--window,
// --scale, --volume, --mute), which wins for the run and is never saved.
PlayerChoices ChoicesForTheRun(const PlayerChoices& saved, const Options& options);

}  // namespace starvane
