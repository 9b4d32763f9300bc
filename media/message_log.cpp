// Where the program's messages go, on POSIX systems (media/message_log.hpp): nothing to do.
#ifndef _WIN32

#include "media/message_log.hpp"

namespace starvane {

void ConnectStandardStreams() {}

bool MessagesHeld() {
  return false;
}

void KeepMessagesIn(const std::filesystem::path&) {}

}  // namespace starvane

#endif  // _WIN32
