#include "files/files_directory.hpp"

#include <cstdint>
#include <string>
#include <system_error>

#include "files/atomic_write.hpp"
#include "files/path_text.hpp"
#include "files/system.hpp"

namespace starvane {
namespace {

// The most the game reads of a ship file and of ships.txt: a larger file is none that it uses.
constexpr std::uintmax_t kMostShipFileBytes = 64 * 1024;
constexpr std::uintmax_t kMostListBytes = std::uintmax_t{16} << 20;

// The player's own folder for the game's data by the system's rules: on Windows
// %APPDATA%\Starvane (where Windows keeps each program's files of one user); elsewhere
// $XDG_DATA_HOME/starvane, else $HOME/.local/share/starvane. Empty when the variables that
// name it are not set (or hold a relative path, which names no folder of the player's).
std::filesystem::path PlayerDataDirectory(const EnvironmentLookup& environment, SystemRules rules) {
  const auto absolute = [&environment](const char* name) {
    const char* value = environment(name);
    const std::filesystem::path path = value != nullptr ? PathOfText(value) : "";
    return path.is_absolute() ? path : std::filesystem::path();
  };
  if (rules == SystemRules::Windows) {
    const std::filesystem::path app_data = absolute("APPDATA");
    return app_data.empty() ? app_data : app_data / "Starvane";
  }
  if (const std::filesystem::path xdg = absolute("XDG_DATA_HOME"); !xdg.empty()) {
    return xdg / "starvane";
  }
  const char* home = environment("HOME");
  if (home == nullptr || *home == '\0') return {};
  return PathOfText(home) / ".local" / "share" / "starvane";
}

}  // namespace

FilesDirectoryChoice DefaultFilesDirectory(const std::filesystem::path& program_directory,
                                           const EnvironmentLookup& environment,
                                           const WritableTest& writable, SystemRules rules) {
  if (writable(program_directory)) return {program_directory, ""};

  const std::filesystem::path directory = PlayerDataDirectory(environment, rules);
  const std::string cannot =
      "the program's directory " + TextOfPath(program_directory) + " cannot be written; ";
  if (directory.empty()) {
    return {program_directory,
            cannot +
                (rules == SystemRules::Windows ? "APPDATA is not set"
                                               : "neither XDG_DATA_HOME nor HOME is set") +
                ", so ships cannot be saved"};
  }
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error || !writable(directory)) {
    return {program_directory, cannot + "nor can " + TextOfPath(directory) +
                                   (error ? " (" + error.message() + ")" : std::string()) +
                                   ", so ships cannot be saved"};
  }
  std::string notice = cannot + "ships.txt and the ship files are kept in " + TextOfPath(directory);
  const int copied = CopyMissingShipFiles(program_directory, directory);
  if (copied > 0) {
    notice += " (" + std::to_string(copied) + (copied == 1 ? " file" : " files") +
              " copied there from the program's directory)";
  }
  return {directory, notice};
}

int CopyMissingShipFiles(const std::filesystem::path& from, const std::filesystem::path& to) {
  namespace fs = std::filesystem;
  int copied = 0;
  std::error_code error;
  for (fs::directory_iterator entry(from, error), end; !error && entry != end;
       entry.increment(error)) {
    const fs::path& path = entry->path();
    const bool list = path.filename() == "ships.txt";
    if (!list && path.extension() != ".shp") continue;
    std::error_code absent;
    if (fs::symlink_status(to / path.filename(), absent).type() != fs::file_type::not_found) {
      continue;  // the data directory's own file is the player's newer one
    }
    std::string bytes;
    if (!ReadWholeRegularFile(path, list ? kMostListBytes : kMostShipFileBytes, bytes)) continue;
    std::string why;
    if (CreateFileAtomically(to / path.filename(), bytes, why)) ++copied;
  }
  return copied;
}

}  // namespace starvane
