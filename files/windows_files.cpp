// The files room on Windows: opening, reading and appending (files/system.hpp).
#ifdef _WIN32

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include "files/files.hpp"
#include "files/files_directory.hpp"
#include "files/system.hpp"
#include "files/windows_system.hpp"

namespace starvane {
namespace {

std::error_code Errno(int error) {
  return {error != 0 ? error : EIO, std::generic_category()};
}

// Appenders take turns through a lock of one byte far beyond any text file's end: a lock on
// Windows also keeps other handles from reading and writing the bytes it covers, and no
// reader of the file must meet it.
constexpr DWORD kAppendLockHigh = 0x40000000;

// Takes the appenders' lock, waiting for another appender at most about two seconds (its own
// append takes milliseconds). 0, or the errno of the failure.
int LockForAppending(HANDLE file) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    OVERLAPPED at{};
    at.OffsetHigh = kAppendLockHigh;
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      return 0;
    }
    if (GetLastError() != ERROR_LOCK_VIOLATION) return 0;  // no locks here: append without
    Sleep(10);
  }
  return EWOULDBLOCK;
}

// Writes all the bytes at that offset. 0, or the errno of the failure; how many went in goes
// to written.
int WriteAt(HANDLE file, std::uint64_t offset, std::string_view bytes, std::size_t& written) {
  written = 0;
  while (written < bytes.size()) {
    OVERLAPPED at{};
    const std::uint64_t here = offset + written;
    at.Offset = static_cast<DWORD>(here & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(here >> 32);
    const std::size_t left = bytes.size() - written;
    const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD put = 0;
    if (!WriteFile(file, bytes.data() + written, chunk, &put, &at)) return ErrnoOfLastError();
    if (put == 0) return ENOSPC;
    written += put;
  }
  return 0;
}

}  // namespace

void CloseSystemFile(SystemFile file) {
  if (file != kNoSystemFile) CloseHandle(HandleOf(file));
}

std::filesystem::path ProgramDirectory() {
  std::vector<wchar_t> name(32768);
  const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
  std::error_code error;
  if (length == 0 || length >= name.size()) return std::filesystem::current_path(error);
  const std::filesystem::path program(std::wstring(name.data(), length));
  if (!program.has_parent_path()) return std::filesystem::current_path(error);
  return program.parent_path();
}

std::FILE* OpenRegularStream(const std::filesystem::path& path, bool create,
                             std::uintmax_t byte_limit, std::error_code& error) {
  const HANDLE file = OpenWindowsFile(path, GENERIC_READ | (create ? GENERIC_WRITE : 0),
                                      create ? OPEN_ALWAYS : OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) {
    // Windows opens no folder as a file (access denied): that is a name that is no file.
    const int reason = ErrnoOfLastError();
    std::error_code ignored;
    error = std::filesystem::is_directory(path, ignored) ? NotARegularFile() : Errno(reason);
    return nullptr;
  }
  LARGE_INTEGER size{};
  if (!IsRegularDiskFile(file)) {
    error = NotARegularFile();
  } else if (!GetFileSizeEx(file, &size)) {
    error = Errno(ErrnoOfLastError());
  } else if (static_cast<std::uintmax_t>(size.QuadPart) > byte_limit) {
    error = std::make_error_code(std::errc::file_too_large);
  } else {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file),
                                   (create ? _O_RDWR : _O_RDONLY) | _O_BINARY);
    if (fd >= 0) {
      std::FILE* stream = _fdopen(fd, create ? "r+b" : "rb");
      if (stream != nullptr) return stream;
      error = Errno(errno);
      _close(fd);  // closes the handle too
      return nullptr;
    }
    error = Errno(EMFILE);
  }
  CloseHandle(file);
  return nullptr;
}

bool ReadWholeRegularFile(const std::filesystem::path& path, std::uintmax_t most_bytes,
                          std::string& bytes) {
  const HANDLE file = OpenWindowsFile(path, GENERIC_READ, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool whole = IsRegularDiskFile(file) && GetFileSizeEx(file, &size) &&
               static_cast<std::uintmax_t>(size.QuadPart) <= most_bytes;
  bytes.clear();
  std::vector<char> buffer(64 * 1024);
  while (whole) {
    DWORD got = 0;
    if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
      whole = false;
      break;
    }
    if (got == 0) break;
    bytes.append(buffer.data(), got);
    whole = bytes.size() <= most_bytes;  // a file that grew while read
  }
  CloseHandle(file);
  return whole;
}

bool CanWriteDirectory(const std::filesystem::path& directory) {
  // Windows says whether a folder may be written only by writing in it: a file that is gone
  // again as soon as it is closed.
  const std::filesystem::path probe =
      directory / (".starvane-write-test-" + std::to_string(GetCurrentProcessId()));
  const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::error_code AppendToRegularFile(const std::filesystem::path& path, std::string_view text,
                                    std::uintmax_t start_limit) {
  const HANDLE file = OpenWindowsFile(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) {
    const int error = ErrnoOfLastError();
    std::error_code ignored;
    return Errno(std::filesystem::is_directory(path, ignored) ? EISDIR : error);
  }
  if (!IsRegularDiskFile(file)) {
    CloseHandle(file);
    return Errno(EINVAL);
  }
  int error = LockForAppending(file);
  // The size once the lock is held: what another appender added before is kept.
  LARGE_INTEGER size{};
  if (error == 0 && !GetFileSizeEx(file, &size)) error = ErrnoOfLastError();
  if (error == 0) {
    const auto end = static_cast<std::uint64_t>(size.QuadPart);
    char last = '\n';
    if (end > 0) {
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>((end - 1) & 0xFFFFFFFFu);
      at.OffsetHigh = static_cast<DWORD>((end - 1) >> 32);
      DWORD got = 0;
      if (!ReadFile(file, &last, 1, &got, &at) || got != 1) last = '\n';
    }
    std::string bytes;
    if (!LineToAppend(last, end, text, start_limit, bytes)) {
      error = EFBIG;
    } else {
      std::size_t written = 0;
      error = WriteAt(file, end, bytes, written);
      if (error != 0) {
        // Cut off again what went in; the error still tells the player the name is not saved.
        LARGE_INTEGER back{};
        back.QuadPart = size.QuadPart;
        if (SetFilePointerEx(file, back, nullptr, FILE_BEGIN)) SetEndOfFile(file);
      }
    }
  }
  // Closing lets the lock go, after any cut.
  if (!CloseHandle(file) && error == 0) error = ErrnoOfLastError();
  return error == 0 ? std::error_code() : Errno(error);
}

PathKind KindAtPath(const std::filesystem::path& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status)) return PathKind::Absent;
  return std::filesystem::is_regular_file(status) ? PathKind::RegularFile : PathKind::Other;
}

}  // namespace starvane

#endif  // _WIN32
