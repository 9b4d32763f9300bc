// The files room on Windows: the locks that keep a ship in one game (files/system.hpp).
#ifdef _WIN32

#include <cerrno>

#include "base/text_quoting.hpp"
#include "files/path_text.hpp"
#include "files/system.hpp"
#include "files/windows_system.hpp"

namespace starvane {
namespace {

namespace fs = std::filesystem;

// Windows drops a lock of LockFileEx when the handle that holds it is closed, also when its
// process ends in any way. Each handle's locks are its own, so two games in one process
// exclude each other too.
Locking LockRange(HANDLE file, std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    return Locking::Held;
  }
  return GetLastError() == ERROR_LOCK_VIOLATION ? Locking::Busy : Locking::Unsupported;
}

std::string NotALockFile(const fs::path& path, const char* kind) {
  return std::string("cannot be locked: ") + Quoted(TextOfPath(path)) + " is " + kind +
         ", not a lock file (remove it)";
}

}  // namespace

SystemFile OpenLockFile(const fs::path& path, bool& refused, std::string& why) {
  refused = false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    refused = true;
    why = NotALockFile(path,
                       (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? "a link" : "a folder");
    return kNoSystemFile;
  }
  const HANDLE file = OpenWindowsFile(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT);
  if (file == INVALID_HANDLE_VALUE) {
    why = "cannot open the lock file " + Quoted(TextOfPath(path)) + " (" +
          ErrnoText(ErrnoOfLastError()) + ")";
    return kNoSystemFile;
  }
  if (!IsRegularDiskFile(file)) {
    CloseHandle(file);
    refused = true;
    why = NotALockFile(path, "no regular file");
    return kNoSystemFile;
  }
  return SystemFileOf(file);
}

Locking LockByte(SystemFile file, std::uint64_t offset, std::string& why) {
  const Locking locking = LockRange(HandleOf(file), offset);
  if (locking == Locking::Unsupported) why = ErrnoText(ErrnoOfLastError());
  return locking;
}

SystemFile OpenShipFile(const fs::path&) {
  // Windows will not move a new file over one that another handle holds open, so a game that
  // held its own ship file open could not save it. The byte of the path alone holds the ship
  // (a second name of it, a hard link, is rare on Windows and goes uncaught).
  return kNoSystemFile;
}

Locking LockWholeFile(SystemFile) {
  return Locking::Unsupported;  // no ship file is held open (OpenShipFile)
}

std::string ComparedFileName(std::string_view name) {
  // Windows compares names through one upper-case table of its own, not a language's rules:
  // the invariant locale's upper case is that table.
  const std::wstring wide = PathOfText(name).native();
  if (wide.empty() || wide.size() > 32767) return std::string(name);
  std::wstring upper(wide.size(), L'\0');
  const int size = static_cast<int>(wide.size());
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.data(), size, upper.data(), size,
                    nullptr, nullptr, 0) != size) {
    return std::string(name);
  }
  return TextOfPath(std::filesystem::path(upper));
}

}  // namespace starvane

#endif  // _WIN32
