// The files room on POSIX systems: the outputs a player asks for (files/system.hpp).
#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "files/atomic_write.hpp"
#include "files/input_file.hpp"
#include "files/output_file.hpp"
#include "files/write_all.hpp"

namespace starvane {

void TakeClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    // The lowest free number is taken: this one, as those below it are open.
    const int taken = ::open("/dev/null", O_RDONLY);
    if (taken >= 0 && taken != fd) ::close(taken);
  }
}

int OpenOutput(const std::filesystem::path& path, int flags) {
  // Opened for writing without waiting, a named pipe that has no reader fails with ENXIO at
  // once; a blocking open would wait until some program opened it to read, which may be never.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | flags, 0666);
  if (fd < 0) return -1;
  // Written without waiting, a pipe whose reader is slower than the game would refuse bytes
  // (EAGAIN) and cut the output: from here on each write waits for room as usual.
  const int status = ::fcntl(fd, F_GETFL);
  if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

namespace {

// After a failure, the cut output is not left behind: the file is removed when the name is the
// file itself, and emptied when the name is a link to it (removing the link would leave the
// cut file where it leads). fd: the open file, or -1 when it is closed already.
void DiscardCutOutput(const std::filesystem::path& path, int fd, const struct stat& file) {
  struct stat named {};
  if (::lstat(path.c_str(), &named) == 0 && S_ISREG(named.st_mode) && named.st_dev == file.st_dev &&
      named.st_ino == file.st_ino) {
    ::unlink(path.c_str());
  } else if (fd >= 0) {
    const int ignored = ::ftruncate(fd, 0);  // the error stays the write's
    static_cast<void>(ignored);
  }
}

}  // namespace

bool FillOutput(int fd, const std::filesystem::path& path, std::string_view bytes,
                std::string& why) {
  // Only a regular file is discarded after a failure: the output may be a device (/dev/full)
  // or a pipe, which stay.
  struct stat file {};
  const bool regular = ::fstat(fd, &file) == 0 && S_ISREG(file.st_mode);
  int error = WriteAll(fd, bytes);
  if (error != 0 && regular) DiscardCutOutput(path, fd, file);
  if (::close(fd) != 0 && error == 0) {
    error = errno;
    if (regular) DiscardCutOutput(path, -1, file);
  }
  if (error == 0) return true;
  why = OutputErrorText(error);
  return false;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat first {};
  struct stat second {};
  const bool first_exists = ::stat(a.c_str(), &first) == 0;
  const bool second_exists = ::stat(b.c_str(), &second) == 0;
  if (first_exists && second_exists) {
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  }
  if (first_exists != second_exists) return false;
  const auto first_path = ResolvedFile(a);
  return first_path && first_path == ResolvedFile(b);
}

int OpenInputWithoutWaiting(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

}  // namespace starvane

#endif  // _WIN32
