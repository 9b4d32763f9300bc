#pragma once
// One ship, one game: two games flying the same ship at once would each save over the other,
// and the first one's purchases would be lost. A game therefore holds a lock on its ship while
// it runs.
//
// All ships share one hidden lock file, ".starvane.lock" in the files directory: created when
// missing, never removed, never written. Each ship is one byte of it, at an offset taken from
// a hash of the ship's file name, locked for writing with an advisory byte-range lock. The
// system drops such a lock when its holder ends in any way (even killed with SIGKILL), so no
// ship stays locked after a crash, and no lock file per ship piles up. The locks belong to
// the open file (OFD locks), so two games in one process exclude each other too.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace starvane {

constexpr const char* kShipLockFileName = ".starvane.lock";

class ShipLock {
 public:
  explicit ShipLock(std::filesystem::path directory) : directory_(std::move(directory)) {}
  ~ShipLock();
  ShipLock(const ShipLock&) = delete;
  ShipLock& operator=(const ShipLock&) = delete;

  // Takes the ship of this file name for this game; any ship held before is then released.
  // False when another running game holds it: why says so. When the lock file cannot be made
  // or locked at all (a read-only directory, a file system without locks), the game is not
  // refused: true, flown unlocked, and why says that instead; otherwise why is emptied.
  bool Lock(std::string_view ship_file_name, std::string& why);
  // Lets the ship held go.
  void Release();

 private:
  std::filesystem::path directory_;
  int fd_ = -1;
  std::optional<long long> held_;  // the offset of the byte held
};

}  // namespace starvane
