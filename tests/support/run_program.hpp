#pragma once
// Runs the starvane binary as a user would and collects what it printed and its exit status.

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <string>

#include "tests/support/temp_directory.hpp"

namespace starvane::testing {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// The arguments are passed through the shell as written; quote them there. A run that does not
// end within the time limit is stopped and fails its test rather than hanging the suite. Unless
// the arguments name one, each run gets a files directory of its own (--files), so that no two
// tests ever write the same files.
inline RunResult RunStarvaneBinary(const std::string& arguments, const std::string& prefix = "") {
  TempDirectory capture;
  std::filesystem::create_directory(capture.Path() / "files");
  const std::string files = arguments.find("--files") == std::string::npos
                                ? "--files '" + (capture.Path() / "files").string() + "' "
                                : "";
  const std::string command = prefix + " timeout 120 '" + STARVANE_BINARY + "' " + files +
                              arguments + " >'" + (capture.Path() / "out").string() + "' 2>'" +
                              (capture.Path() / "err").string() + "' </dev/null";
  const int raw = std::system(command.c_str());
  RunResult result;
#ifdef _WIN32
  result.status = raw;  // Windows' system() gives the exit code itself
#else
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
  result.out = capture.Read("out");
  result.err = capture.Read("err");
  return result;
}

}  // namespace starvane::testing
