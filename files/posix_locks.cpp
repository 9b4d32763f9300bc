// The files room on POSIX systems: the locks that keep a ship in one game (files/system.hpp).
#ifndef _WIN32

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "base/text_quoting.hpp"
#include "files/system.hpp"

namespace starvane {
namespace {

namespace fs = std::filesystem;

static_assert(sizeof(off_t) >= 8, "lock offsets need 64-bit file offsets");

// Locks that belong to the open file where the system has them; elsewhere the process's own,
// which still keep two programs apart.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK;
#endif

int SetLock(int fd, short type, off_t offset) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = offset;
  lock.l_len = 1;
  lock.l_pid = 0;  // must be 0 for locks of the open file
  int result = 0;
  do {
    result = fcntl(fd, kSetLock, &lock);
  } while (result != 0 && errno == EINTR);
  return result == 0 ? 0 : errno;
}

const char* KindOfFile(mode_t mode) {
  if (S_ISLNK(mode)) return "a link";
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return "no regular file";
}

std::string NotALockFile(const fs::path& path, mode_t mode) {
  return std::string("cannot be locked: ") + Quoted(path.string()) + " is " + KindOfFile(mode) +
         ", not a lock file (remove it)";
}

}  // namespace

SystemFile OpenLockFile(const fs::path& path, bool& refused, std::string& why) {
  refused = false;
  const int fd =
      ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0644);
  struct stat info {};
  if (fd < 0) {
    const int error = errno;
    if (::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
      refused = true;
      why = NotALockFile(path, info.st_mode);
    } else {
      why = "cannot open the lock file " + Quoted(path.string()) + " (" + ErrnoText(error) + ")";
    }
    return kNoSystemFile;
  }
  if (::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode)) {
    ::close(fd);
    refused = true;
    why = NotALockFile(path, info.st_mode);
    return kNoSystemFile;
  }
  return fd;
}

Locking LockByte(SystemFile file, std::uint64_t offset, std::string& why) {
  const int error = SetLock(static_cast<int>(file), F_WRLCK, static_cast<off_t>(offset));
  if (error == EAGAIN || error == EACCES) return Locking::Busy;
  if (error != 0) {
    why = ErrnoText(error);
    return Locking::Unsupported;
  }
  return Locking::Held;
}

SystemFile OpenShipFile(const fs::path& target) {
  const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return kNoSystemFile;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) return fd;
  ::close(fd);
  return kNoSystemFile;
}

Locking LockWholeFile(SystemFile file) {
  int result = 0;
  do {
    result = ::flock(static_cast<int>(file), LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result == 0) return Locking::Held;
  // A file system without flock(): the byte of the path alone holds.
  return errno == EWOULDBLOCK ? Locking::Busy : Locking::Unsupported;
}

std::string ComparedFileName(std::string_view name) {
  return std::string(name);
}

}  // namespace starvane

#endif  // _WIN32
