#include <string>
#include <string_view>
#include <vector>

#include "app/main_sequence.hpp"
#include "files/path_text.hpp"

int main(int argc, char** argv) {
  // UTF-8 on every system (on Windows argv is in the ANSI code page).
  const std::vector<std::string> arguments = starvane::ProgramArguments(argc, argv);
  std::vector<std::string_view> args(arguments.begin(), arguments.end());
  return starvane::RunStarvane(args);
}
