#include "app/exit_status.hpp"

#include <cstdio>

#include "base/text_quoting.hpp"

namespace starvane {

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "starvane: %s\n", message.c_str());
  return status;
}

int CannotWrite(const std::string& what, const std::string& path, const std::string& why) {
  return Fail(kExitFailure, "cannot write " + what + " to " + Quoted(path) + " (" + why + ")");
}

}  // namespace starvane
