#include "files/ship_lock.hpp"

#include <cstdint>

#include "base/fnv1a.hpp"
#include "base/text_quoting.hpp"
#include "files/atomic_write.hpp"
#include "files/path_text.hpp"
#include "files/system.hpp"

namespace starvane {
namespace {

namespace fs = std::filesystem;

// The file a save under that path writes: every way of naming one file gives one path. (A path
// that cannot be resolved is taken as it is spelt.)
fs::path TargetFile(const fs::path& given) {
  return ResolvedFile(given).value_or(given.lexically_normal());
}

// The ship's byte: 62 bits of its file name's hash, so that the offset stays far inside the
// range of file offsets whatever the name. Where the system folds case (Windows), so does the
// name hashed: "Nova" and "nova" are one file there, and one ship. (On Linux a ship named in
// its own folder keeps the byte older versions locked.)
std::uint64_t LockOffset(const fs::path& target) {
  return Fnv1a64(ComparedFileName(TextOfPath(target.filename()))) >> 2;
}

}  // namespace

bool ShipLock::Lock(std::string_view ship_file_name, std::string& why) {
  why.clear();
  const fs::path target = TargetFile(directory_ / PathOfText(ship_file_name));
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
  if (lock_fd_ != kNoSystemFile) {
    std::string error;
    const Locking byte = LockByte(lock_fd_, LockOffset(target), error);
    if (byte == Locking::Busy) {
      Release();
      why = kShipInAnotherGame;
      return false;
    }
    if (byte == Locking::Unsupported) {
      unlocked = "cannot lock " + Quoted(TextOfPath(lock_path)) + " (" + error + ")";
      CloseSystemFile(lock_fd_);
      lock_fd_ = kNoSystemFile;
    }
  }

  ship_fd_ = OpenShipFile(target);
  if (ship_fd_ != kNoSystemFile) {
    const Locking whole = LockWholeFile(ship_fd_);
    if (whole == Locking::Busy) {
      Release();
      why = kShipInAnotherGame;
      return false;
    }
    if (whole == Locking::Unsupported) {  // the byte of the path alone holds
      CloseSystemFile(ship_fd_);
      ship_fd_ = kNoSystemFile;
    }
  }
  if (!unlocked.empty()) {
    why = unlocked + (ship_fd_ != kNoSystemFile ? ": the ship is locked through its own file only"
                                                : ": the ship is flown without a lock");
  }
  held_ = target;
  return true;
}

void ShipLock::Release() {
  // Closing the files lets their locks go.
  CloseSystemFile(lock_fd_);
  CloseSystemFile(ship_fd_);
  lock_fd_ = kNoSystemFile;
  ship_fd_ = kNoSystemFile;
  held_.reset();
}

}  // namespace starvane
