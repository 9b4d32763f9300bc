#include "files/files_directory.hpp"

#include <cstdint>
#include <string>
#include <system_error>

#include "files/atomic_write.hpp"
#include "files/system.hpp"

namespace starvane {
namespace {

// The most the game reads of a ship file and of ships.txt: a larger file is none that it uses.
constexpr std::uintmax_t kMostShipFileBytes = 64 * 1024;
constexpr std::uintmax_t kMostListBytes = std::uintmax_t{16} << 20;

}  // namespace

FilesDirectoryChoice DefaultFilesDirectory(const std::filesystem::path& program_directory,
                                           const EnvironmentLookup& environment,
                                           const WritableTest& writable) {
  if (writable(program_directory)) return {program_directory, ""};

  std::filesystem::path data_home;
  const char* xdg = environment("XDG_DATA_HOME");
  const char* home = environment("HOME");
  // The XDG rules ignore a relative XDG_DATA_HOME.
  if (xdg != nullptr && std::filesystem::path(xdg).is_absolute()) {
    data_home = xdg;
  } else if (home != nullptr && *home != '\0') {
    data_home = std::filesystem::path(home) / ".local" / "share";
  }
  const std::string cannot =
      "the program's directory " + program_directory.string() + " cannot be written; ";
  if (data_home.empty()) {
    return {program_directory,
            cannot + "neither XDG_DATA_HOME nor HOME is set, so ships cannot be saved"};
  }
  const std::filesystem::path directory = data_home / "starvane";
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error || !writable(directory)) {
    return {program_directory, cannot + "nor can " + directory.string() +
                                   (error ? " (" + error.message() + ")" : std::string()) +
                                   ", so ships cannot be saved"};
  }
  std::string notice = cannot + "ships.txt and the ship files are kept in " + directory.string();
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
