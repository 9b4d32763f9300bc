#include "files/write_all.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace starvane {

int WriteAll(int fd, std::string_view bytes, std::size_t* written_in_all) {
  if (written_in_all != nullptr) *written_in_all = 0;
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno != 0 ? errno : EIO;
    }
    if (written == 0) return ENOSPC;
    bytes.remove_prefix(static_cast<std::size_t>(written));
    if (written_in_all != nullptr) *written_in_all += static_cast<std::size_t>(written);
  }
  return 0;
}

}  // namespace starvane
