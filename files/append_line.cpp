#include "files/append_line.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "files/files.hpp"
#include "files/write_all.hpp"

namespace starvane {
namespace {

std::error_code Errno(int error) {
  return {error != 0 ? error : EIO, std::generic_category()};
}

// Takes the file's exclusive flock(), waiting for another appender at most about two seconds
// (its own append takes milliseconds). 0, or the errno of the failure. A file system that keeps
// no such locks (some network and user-space mounts) is appended to without one, as before
// there was a lock: a name must not be lost for want of it.
int LockForAppending(int fd) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
    if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL) return 0;
    if (errno != EWOULDBLOCK && errno != EINTR) return errno;
    ::usleep(10'000);
  }
  return EWOULDBLOCK;
}

// Writes the bytes at the end; on a failure cuts off again what went in, but only when the
// file ends with it: a writer that ignores the lock may have added a line after it, and that
// line is never cut. 0, or the errno of the failure.
int AppendBytes(int fd, off_t size, std::string_view bytes) {
  std::size_t written = 0;
  const int error = WriteAll(fd, bytes, &written);
  struct stat after {};
  if (error != 0 && ::fstat(fd, &after) == 0 &&
      after.st_size == size + static_cast<off_t>(written)) {
    // Should even the cut fail, the error still tells the player that the name is not saved.
    const int ignored = ::ftruncate(fd, size);
    static_cast<void>(ignored);
  }
  return error;
}

}  // namespace

std::error_code AppendLine(const std::filesystem::path& directory, std::string_view name,
                           std::string_view text, std::uintmax_t start_limit) {
  if (!FileTable::IsPlainFileName(name)) return std::make_error_code(std::errc::invalid_argument);
  const std::filesystem::path path = directory / std::string(name);
  // Not blocking: a pipe or device under the name must not hold the game up; it is refused.
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0644);
  if (fd < 0) return Errno(errno);
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    const int error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    close(fd);
    return Errno(error);
  }
  int error = LockForAppending(fd);
  // The size once the lock is held: what another appender added before is kept.
  if (error == 0 && fstat(fd, &status) != 0) error = errno;
  if (error == 0) {
    const off_t size = status.st_size;
    std::string bytes;
    char last = '\n';
    if (size > 0 && pread(fd, &last, 1, size - 1) != 1) last = '\n';
    if (last != '\n' && last != '\r') bytes += "\r\n";
    if (static_cast<std::uintmax_t>(size) + bytes.size() >= start_limit) {
      error = EFBIG;
    } else {
      bytes.append(text);
      bytes += "\r\n";
      error = AppendBytes(fd, size, bytes);
    }
  }
  // Closing lets the lock go, after any cut.
  if (close(fd) != 0 && error == 0) error = errno;
  return error == 0 ? std::error_code() : Errno(error);
}

}  // namespace starvane
