#include "files/ship_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "base/fnv1a.hpp"
#include "base/text_quoting.hpp"
#include "files/atomic_write.hpp"

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

// The file a save under that path writes: every way of naming one file gives one path. (A path
// that cannot be resolved is taken as it is spelt.)
fs::path TargetFile(const fs::path& given) {
  return ResolvedFile(given).value_or(given.lexically_normal());
}

// The ship's byte: 62 bits of its file name's hash, so that the offset stays far inside the
// range of file offsets whatever the name. (A ship named in its own folder keeps the byte
// older versions locked.)
off_t LockOffset(const fs::path& target) {
  return static_cast<off_t>(Fnv1a64(target.filename().string()) >> 2);
}

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

// Opens the lock file, creating it when missing; never through a link and never waiting. -1
// when it cannot be had: refused is then set when something else stands at its path.
int OpenLockFile(const fs::path& path, bool& refused, std::string& why) {
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
    return -1;
  }
  if (::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode)) {
    ::close(fd);
    refused = true;
    why = NotALockFile(path, info.st_mode);
    return -1;
  }
  return fd;
}

// Opens the ship file for its flock(), when it is there and a regular file; else -1.
int OpenShipFile(const fs::path& target) {
  const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) return fd;
  ::close(fd);
  return -1;
}

}  // namespace

bool ShipLock::Lock(std::string_view ship_file_name, std::string& why) {
  why.clear();
  const fs::path target = TargetFile(directory_ / std::string(ship_file_name));
  if (held_ && *held_ == target) return true;
  Release();

  const fs::path lock_path = target.parent_path() / kShipLockFileName;
  std::string unlocked;  // why the byte of the path could not be had
  bool refused = false;
  lock_fd_ = OpenLockFile(lock_path, refused, unlocked);
  if (refused) {
    why = unlocked;
    return false;
  }
  if (lock_fd_ >= 0) {
    const int error = SetLock(lock_fd_, F_WRLCK, LockOffset(target));
    if (error == EAGAIN || error == EACCES) {
      Release();
      why = kShipInAnotherGame;
      return false;
    }
    if (error != 0) {
      unlocked = "cannot lock " + Quoted(lock_path.string()) + " (" + ErrnoText(error) + ")";
      ::close(lock_fd_);
      lock_fd_ = -1;
    }
  }

  ship_fd_ = OpenShipFile(target);
  if (ship_fd_ >= 0) {
    int result = 0;
    do {
      result = ::flock(ship_fd_, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0 && errno == EWOULDBLOCK) {
      Release();
      why = kShipInAnotherGame;
      return false;
    }
    if (result != 0) {  // a file system without flock(): the byte of the path alone holds
      ::close(ship_fd_);
      ship_fd_ = -1;
    }
  }
  if (!unlocked.empty()) {
    why = unlocked + (ship_fd_ >= 0 ? ": the ship is locked through its own file only"
                                    : ": the ship is flown without a lock");
  }
  held_ = target;
  return true;
}

void ShipLock::Release() {
  // Closing the files lets their locks go.
  if (lock_fd_ >= 0) ::close(lock_fd_);
  if (ship_fd_ >= 0) ::close(ship_fd_);
  lock_fd_ = -1;
  ship_fd_ = -1;
  held_.reset();
}

}  // namespace starvane
