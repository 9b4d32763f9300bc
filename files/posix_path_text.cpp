// The files room on Linux and other POSIX systems: paths are bytes (files/path_text.hpp).
#ifndef _WIN32

#include "files/path_text.hpp"

#include <cstdlib>

namespace starvane {

std::filesystem::path PathOfText(std::string_view text) {
  return std::filesystem::path(std::string(text));
}

std::string TextOfPath(const std::filesystem::path& path) {
  return path.native();
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

const char* EnvironmentText(const char* name) {
  return std::getenv(name);
}

}  // namespace starvane

#endif  // _WIN32
