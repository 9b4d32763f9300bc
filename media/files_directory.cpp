#include "media/files_directory.hpp"

#include <unistd.h>

#include <system_error>

namespace starvane {

bool CanWriteDirectory(const std::filesystem::path& directory) {
  return ::access(directory.c_str(), W_OK | X_OK) == 0;
}

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
  return {directory, cannot + "ships.txt and the ship files are kept in " + directory.string()};
}

}  // namespace starvane
