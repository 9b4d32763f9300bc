#pragma once
// One ship, one game: two games flying the same ship at once would each save over the other,
// and the first one's purchases would be lost. A game therefore holds a lock on its ship while
// it runs.
//
// The lock is on the file the save will write, not on the ship's name: links are followed to
// their target (also into other folders), so a ship flown through a link and the same ship
// flown by its own name exclude each other. Two locks are taken:
// - By path, for every ship, even one whose file does not exist yet: one byte of the hidden
//   lock file ".starvane.lock" in the folder of the target, at an offset taken from a hash of
//   the target's file name, locked for writing with an advisory byte-range lock. The file is
//   created when missing, never removed, never written, so no lock file per ship piles up.
// - By the file itself, when it exists: an exclusive flock() on the ship file, which every name
//   of it shares, so a hard link (another name, even in another folder) is caught too. Each
//   save puts a new file in place, but only at the game's end, when the lock goes anyway.
// The system drops both when their holder ends in any way (even killed with SIGKILL), so no
// ship stays locked after a crash. Both belong to the open file (OFD locks for the byte), so
// two games in one process exclude each other too.
//
// Whatever else stands at the lock file's path (a link, a folder, a FIFO, a device) is not
// used: games could not tell each other apart through it, so each is refused until the player
// removes it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace starvane {

constexpr const char* kShipLockFileName = ".starvane.lock";
// Why a ship is refused when another running game holds it.
constexpr std::string_view kShipInAnotherGame = "is in another game";

class ShipLock {
 public:
  explicit ShipLock(std::filesystem::path directory) : directory_(std::move(directory)) {}
  ~ShipLock() { Release(); }
  ShipLock(const ShipLock&) = delete;
  ShipLock& operator=(const ShipLock&) = delete;

  // Takes the ship of this file name (in the directory) for this game; any ship held before is
  // released first. False when the ship cannot be taken: why then says so in words that follow
  // the ship's name ("is in another game", or why its lock file cannot be used). When the lock
  // file cannot be made or locked at all (a read-only directory, a file system without locks),
  // the game is not refused: true, flown with what could be locked, and why says that instead;
  // otherwise why is emptied.
  bool Lock(std::string_view ship_file_name, std::string& why);
  // Lets the ship held go.
  void Release();

 private:
  std::filesystem::path directory_;
  // Open files of the system (files/system.hpp), -1 for none.
  std::intptr_t lock_fd_ = -1;                 // the lock file whose byte is held
  std::intptr_t ship_fd_ = -1;                 // the ship file held with flock()
  std::optional<std::filesystem::path> held_;  // the file of the ship held
};

}  // namespace starvane
