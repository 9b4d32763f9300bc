#pragma once
// What the Windows files of this room share: the reason of a failed Windows call as the errno
// value the rest of the room reports, and the one way every file is opened.
#ifdef _WIN32

#include <windows.h>

#include <cerrno>
#include <filesystem>

#include "files/system.hpp"

namespace starvane {

// The errno value that says what the last failed Windows call met.
inline int ErrnoOfLastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_LOCK_VIOLATION:
      return EAGAIN;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return EINVAL;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return ENOMEM;
    default:
      return EIO;
  }
}

// Opens a file with the wide (UTF-16) form of its path. Every other program and every other
// handle of this one may read, write, rename and delete it meanwhile, as on POSIX systems: a
// save may replace a ship file that a game holds open. INVALID_HANDLE_VALUE on failure.
inline HANDLE OpenWindowsFile(const std::filesystem::path& path, DWORD access, DWORD creation,
                              DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, creation, flags, nullptr);
}

// Whether an open file is a regular file on a disk (no folder, pipe, console or device).
inline bool IsRegularDiskFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) != 0 &&
         (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

inline SystemFile SystemFileOf(HANDLE file) {
  return reinterpret_cast<SystemFile>(file);
}
inline HANDLE HandleOf(SystemFile file) {
  return reinterpret_cast<HANDLE>(file);
}

}  // namespace starvane

#endif  // _WIN32
