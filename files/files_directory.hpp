#pragma once
// Where ships.txt and the ship files live when the command line does not say: next to the
// program, as players have always found them, unless that directory cannot be written (a
// system-wide install); then in the player's own data directory.

#include <filesystem>
#include <functional>
#include <string>

#include "files/system_rules.hpp"

namespace starvane {

struct FilesDirectoryChoice {
  std::filesystem::path directory;
  std::string notice;  // what to tell the player once, on standard error; "" for nothing
};

// Looks up an environment variable (UTF-8); nullptr when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;
// Whether the game may create and replace files in the directory.
using WritableTest = std::function<bool(const std::filesystem::path&)>;

// Whether this process may write into the directory (a read-only file system counts as no).
bool CanWriteDirectory(const std::filesystem::path& directory);

// The program's directory when it can be written; otherwise the player's data directory,
// created when missing: on Windows %APPDATA%\Starvane, elsewhere $XDG_DATA_HOME/starvane (an
// absolute XDG_DATA_HOME only), else $HOME/.local/share/starvane; with a
// notice that says where the files now are. The ships the player had next to the program are
// not left behind: ships.txt and every ship file there that the data directory lacks are copied
// into it (never over a file it has), and the notice says how many. When no such directory can
// be had, the program's directory all the same, with a notice that saving will fail.
FilesDirectoryChoice DefaultFilesDirectory(const std::filesystem::path& program_directory,
                                           const EnvironmentLookup& environment,
                                           const WritableTest& writable = CanWriteDirectory,
                                           SystemRules rules = kThisSystem);

// Copies ships.txt and the ship files (*.shp) of one directory into another where it has no
// file of that name; returns how many were copied. Only regular files are copied (never through
// a link), only as large as the game reads them (64 KiB for a ship file, 16 MiB for the list),
// and each in one piece (a temporary file, flushed, then linked in under its name): a full disk
// or a kill on the way leaves no empty or cut file that a later start would take as the
// player's, and the files it did not copy are copied by that later start.
int CopyMissingShipFiles(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace starvane
