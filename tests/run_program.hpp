#pragma once
// Runs the starvane binary as a user would and collects what it printed and its exit status.

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "temp_directory.hpp"

namespace starvane::testing {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// The arguments are passed through the shell as written; quote them there.
inline RunResult RunStarvaneBinary(const std::string& arguments) {
  TempDirectory capture;
  const std::string command = std::string("'") + STARVANE_BINARY + "' " + arguments + " >'" +
                              (capture.Path() / "out").string() + "' 2>'" +
                              (capture.Path() / "err").string() + "' </dev/null";
  const int raw = std::system(command.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = capture.Read("out");
  result.err = capture.Read("err");
  return result;
}

}  // namespace starvane::testing
