#include "files/ship_lock.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <span>

#include "base/fnv1a.hpp"
#include "base/text_quoting.hpp"

namespace starvane {
namespace {

static_assert(sizeof(off_t) >= 8, "lock offsets need 64-bit file offsets");

// Locks that belong to the open file where the system has them; elsewhere the process's own,
// which still keep two programs apart.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK;
#endif

// The ship's byte: 62 bits of the name's hash, so that the offset stays far inside the range
// of file offsets whatever the name.
off_t LockOffset(std::string_view ship_file_name) {
  return static_cast<off_t>(Fnv1a64(ship_file_name) >> 2);
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

}  // namespace

ShipLock::~ShipLock() {
  if (fd_ >= 0) close(fd_);
}

bool ShipLock::Lock(std::string_view ship_file_name, std::string& why) {
  why.clear();
  const off_t offset = LockOffset(ship_file_name);
  if (held_ && *held_ == offset) return true;
  const std::filesystem::path path = directory_ / kShipLockFileName;
  if (fd_ < 0) {
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd_ < 0) {
      why = "cannot open the lock file " + Quoted(path.string()) + " (" + ErrnoText(errno) +
            "): the ship is flown without a lock";
      return true;
    }
  }
  const int error = SetLock(fd_, F_WRLCK, offset);
  if (error == EAGAIN || error == EACCES) {
    why = "the ship is in another game";
    return false;
  }
  if (error != 0) {
    why = "cannot lock " + Quoted(path.string()) + " (" + ErrnoText(error) +
          "): the ship is flown without a lock";
    Release();
    return true;
  }
  if (held_) SetLock(fd_, F_UNLCK, static_cast<off_t>(*held_));
  held_ = offset;
  return true;
}

void ShipLock::Release() {
  if (held_ && fd_ >= 0) SetLock(fd_, F_UNLCK, static_cast<off_t>(*held_));
  held_.reset();
}

}  // namespace starvane
