#include "media/atomic_write.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace starvane {
namespace {

namespace fs = std::filesystem;

bool Failed(std::string& why, const std::string& what, int error) {
  why = what + ": " + std::strerror(error);
  return false;
}

// Creates a new, empty temporary file in the directory. Its name starts with a dot, so listings
// hide it; the process id and a counter keep it apart from this process's other files, and
// O_EXCL from any other process's. -1 with errno set when none could be made.
int CreateTemporary(const fs::path& directory, fs::path& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = directory / (".starvane-" + std::to_string(::getpid()) + "-" +
                             std::to_string(attempt) + ".tmp");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Writes every byte, going on after short writes and interruptions.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
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

}  // namespace

bool WriteFileAtomically(const fs::path& path, std::string_view bytes, std::string& why,
                         AtomicWriteStep fail_at) {
  const fs::path directory = path.has_parent_path() ? path.parent_path() : fs::path(".");
  fs::path temporary;
  int fd = -1;
  if (fail_at == AtomicWriteStep::Open) {
    errno = EACCES;  // a directory the player may not write to
  } else {
    fd = CreateTemporary(directory, temporary);
  }
  if (fd < 0) return Failed(why, "cannot create a new file in " + directory.string(), errno);

  // From here on every failure closes and removes the temporary file.
  bool open = true;
  auto give_up = [&](const std::string& what, int error) {
    if (open) ::close(fd);
    ::unlink(temporary.c_str());
    return Failed(why, what, error);
  };
  KeepPermissions(fd, path);
  if (fail_at == AtomicWriteStep::Write) {
    // A full disk: part of the bytes go in, then writing stops.
    WriteAll(fd, bytes.substr(0, bytes.size() / 2));
    return give_up("cannot write the new file", ENOSPC);
  }
  if (!WriteAll(fd, bytes)) return give_up("cannot write the new file", errno);
  if (fail_at == AtomicWriteStep::Sync) return give_up("cannot flush the new file", EIO);
  if (::fsync(fd) != 0) return give_up("cannot flush the new file", errno);
  open = false;
  // A failed close may still have released the descriptor: it is never closed twice.
  if (::close(fd) != 0 || fail_at == AtomicWriteStep::Close) {
    return give_up("cannot close the new file", fail_at == AtomicWriteStep::Close ? EIO : errno);
  }
  if (fail_at == AtomicWriteStep::Rename) return give_up("cannot replace the file", EACCES);
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    return give_up("cannot replace the file", errno);
  }
  SyncDirectory(directory);
  return true;
}

}  // namespace starvane
