// The files room on POSIX systems: opening, reading and appending (files/system.hpp).
#ifndef _WIN32

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "files/files.hpp"
#include "files/files_directory.hpp"
#include "files/system.hpp"
#include "files/write_all.hpp"

namespace starvane {
namespace {

// Opens the path without waiting: a FIFO without a writer would block the open, and one
// without data every read. Only a regular file (of at most byte_limit bytes, when it is read)
// is kept, in blocking mode again. -1 with the reason in error otherwise.
int OpenRegularFile(const std::filesystem::path& path, bool create, std::uintmax_t byte_limit,
                    std::error_code& error) {
  const int flags = (create ? O_RDWR | O_CREAT : O_RDONLY) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) {
    error = std::error_code(errno, std::generic_category());
    return -1;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    error = std::error_code(errno, std::generic_category());
  } else if (!S_ISREG(info.st_mode)) {
    error = NotARegularFile();
  } else if (static_cast<std::uintmax_t>(info.st_size) > byte_limit) {
    error = std::make_error_code(std::errc::file_too_large);
  } else {
    const int status = ::fcntl(fd, F_GETFL);
    if (status != -1 && ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == 0) return fd;
    error = std::error_code(errno, std::generic_category());
  }
  ::close(fd);
  return -1;
}

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

void CloseSystemFile(SystemFile file) {
  if (file >= 0) ::close(static_cast<int>(file));
}

std::filesystem::path ProgramDirectory() {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !program.has_parent_path()) return std::filesystem::current_path(error);
  return program.parent_path();
}

std::FILE* OpenRegularStream(const std::filesystem::path& path, bool create,
                             std::uintmax_t byte_limit, std::error_code& error) {
  const int fd = OpenRegularFile(path, create, byte_limit, error);
  if (fd < 0) return nullptr;
  std::FILE* stream = ::fdopen(fd, create ? "r+b" : "rb");
  if (stream == nullptr) {
    error = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    ::close(fd);
  }
  return stream;
}

bool ReadWholeRegularFile(const std::filesystem::path& path, std::uintmax_t most_bytes,
                          std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool whole = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
               static_cast<std::uintmax_t>(info.st_size) <= most_bytes;
  bytes.clear();
  char buffer[64 * 1024];
  while (whole) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      whole = got == 0;
      break;
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
    whole = bytes.size() <= most_bytes;  // a file that grew while read
  }
  ::close(fd);
  return whole;
}

bool CanWriteDirectory(const std::filesystem::path& directory) {
  return ::access(directory.c_str(), W_OK | X_OK) == 0;
}

std::error_code AppendToRegularFile(const std::filesystem::path& path, std::string_view text,
                                    std::uintmax_t start_limit) {
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
    if (!LineToAppend(last, static_cast<std::uintmax_t>(size), text, start_limit, bytes)) {
      error = EFBIG;
    } else {
      error = AppendBytes(fd, size, bytes);
    }
  }
  // Closing lets the lock go, after any cut.
  if (close(fd) != 0 && error == 0) error = errno;
  return error == 0 ? std::error_code() : Errno(error);
}

PathKind KindAtPath(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return PathKind::Absent;
  return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
}

}  // namespace starvane

#endif  // _WIN32
