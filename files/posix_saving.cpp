// The files room on POSIX systems: replacing files in one piece (files/system.hpp).
#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <dirent.h>
#include <sys/file.h>

#include <cerrno>
#include <system_error>

#include "base/text_quoting.hpp"
#include "files/system.hpp"
#include "files/write_all.hpp"

namespace starvane {
namespace {

namespace fs = std::filesystem;

// Takes the exclusive flock() of an open file, waiting for it (its other holder only sweeps).
int LockExclusively(int fd) {
  int result = 0;
  do {
    result = ::flock(fd, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  return result;
}

// Creates a new, empty temporary file in the directory and takes its lock, which marks it as
// in use until its descriptors are closed. Its name starts with a dot, so listings hide it; the
// process id and a counter keep it apart from this process's other files, and O_EXCL from any
// other process's. A sweep may take the lock and remove the file in the moment before it is
// taken here: a file without a name left is then made again. -1 with errno set when none could
// be made.
int CreateTemporary(const fs::path& directory, fs::path& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = directory / TemporaryName(static_cast<std::uint64_t>(::getpid()), attempt);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return fd;
    if (fd < 0) continue;
    struct stat info {};
    // A file system without flock() leaves the file unlocked: sweeps then leave it alone too.
    const bool locked = LockExclusively(fd) == 0;
    if (!locked || (::fstat(fd, &info) == 0 && info.st_nlink > 0)) return fd;
    ::close(fd);
  }
  errno = EEXIST;
  return -1;
}

// The replacement keeps the permissions of the file it replaces.
void KeepPermissions(int fd, const fs::path& path) {
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
}

// Makes the rename itself durable. A directory that cannot be synced still holds the new file.
void SyncDirectory(const fs::path& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool UntouchedForAMinute(const struct stat& file) {
  timespec now{};
  if (::clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
  return file.st_mtim.tv_sec < now.tv_sec - 60;
}

}  // namespace

bool IsWriteProtected(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

std::optional<fs::path> FollowLinks(const fs::path& path, std::error_code& error) {
  fs::path file = path;
  // As many links as the system itself follows before it calls it a loop.
  for (int link = 0; link < 40; ++link) {
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0) {
      if (errno == ENOENT) return file;  // not there (yet): the file to make
      error = std::error_code(errno, std::generic_category());
      return std::nullopt;
    }
    if (!S_ISLNK(info.st_mode)) return file;
    const fs::path target = fs::read_symlink(file, error);
    if (error) return std::nullopt;
    file = target.is_absolute() ? target : file.parent_path() / target;
  }
  error = std::error_code(ELOOP, std::generic_category());
  return std::nullopt;
}

void RemoveStaleTemporaries(const fs::path& directory) {
  DIR* listing = ::opendir(directory.c_str());
  if (listing == nullptr) return;
  const int folder = ::dirfd(listing);
  while (const dirent* entry = ::readdir(listing)) {
    if (!IsTemporaryName(entry->d_name)) continue;
    const int fd =
        ::openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    // A save that runs holds the lock of its file; one that died let it go with its process.
    // A game of an older version saves without that lock, but a save takes moments: a
    // temporary file left untouched for a minute is no running save's. The name is removed
    // only while it still names the file whose lock is held here.
    struct stat held {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
        UntouchedForAMinute(held) &&
        ::fstatat(folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_dev == held.st_dev && named.st_ino == held.st_ino) {
      ::unlinkat(folder, entry->d_name, 0);
    }
    ::close(fd);
  }
  ::closedir(listing);
}

bool PutFileAtomically(const fs::path& path, std::string_view bytes, std::string& why,
                       AtomicWriteStep fail_at, Placing placing) {
  const fs::path directory = path.has_parent_path() ? path.parent_path() : fs::path(".");
  RemoveStaleTemporaries(directory);
  fs::path temporary;
  int fd = -1;
  if (fail_at == AtomicWriteStep::Open) {
    errno = EACCES;  // a directory the player may not write to
  } else {
    fd = CreateTemporary(directory, temporary);
  }
  if (fd < 0) return SaveFailed(why, "cannot create a new file in " + directory.string(), errno);

  // A second descriptor keeps the lock (which belongs to the open file) from the close that
  // checks the writing until the rename: no sweep takes the file away in between.
  const int keeper = ::dup(fd);
  // From here on every failure closes and removes the temporary file.
  bool open = true;
  auto give_up = [&](const std::string& what, int error) {
    if (open) ::close(fd);
    ::unlink(temporary.c_str());
    if (keeper >= 0) ::close(keeper);
    return SaveFailed(why, what, error);
  };
  KeepPermissions(fd, path);
  if (fail_at == AtomicWriteStep::Write) {
    // A full disk: part of the bytes go in, then writing stops.
    static_cast<void>(WriteAll(fd, bytes.substr(0, bytes.size() / 2)));
    return give_up("cannot write the new file", ENOSPC);
  }
  if (const int error = WriteAll(fd, bytes); error != 0) {
    return give_up("cannot write the new file", error);
  }
  if (fail_at == AtomicWriteStep::Sync) return give_up("cannot flush the new file", EIO);
  if (::fsync(fd) != 0) return give_up("cannot flush the new file", errno);
  open = false;
  // A failed close may still have released the descriptor: it is never closed twice.
  if (::close(fd) != 0 || fail_at == AtomicWriteStep::Close) {
    return give_up("cannot close the new file", fail_at == AtomicWriteStep::Close ? EIO : errno);
  }
  if (fail_at == AtomicWriteStep::Rename) return give_up("cannot replace the file", EACCES);
  if (placing == Placing::Replace && ::rename(temporary.c_str(), path.c_str()) != 0) {
    return give_up("cannot replace the file", errno);
  }
  // A new name only: link() fails where anything stands already, even a dangling link.
  if (placing == Placing::CreateOnly) {
    if (::link(temporary.c_str(), path.c_str()) != 0)
      return give_up("cannot create the file", errno);
    ::unlink(temporary.c_str());
  }
  if (keeper >= 0) ::close(keeper);
  SyncDirectory(directory);
  return true;
}

}  // namespace starvane

#endif  // _WIN32
