#pragma once
// Opening a file the player names to be read (an input script), without waiting.

#include <string>

namespace starvane {

// Opens the file to read its bytes as they are. A named pipe without a
// writer does not hold up the open, and no read of it waits: the caller then reads only a
// regular file. The descriptor, or -1 with errno set.
int OpenInputWithoutWaiting(const std::string& path);

}  // namespace starvane
