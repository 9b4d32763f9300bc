// The files room on Windows: replacing files in one piece (files/system.hpp).
#ifdef _WIN32

#include <cerrno>
#include <system_error>

#include "base/text_quoting.hpp"
#include "files/path_text.hpp"
#include "files/system.hpp"
#include "files/windows_system.hpp"

namespace starvane {
namespace {

namespace fs = std::filesystem;

// Creates a new, empty temporary file in the directory. It is opened without letting anyone
// delete it, so a sweep leaves it alone while the save writes it. INVALID_HANDLE_VALUE with
// the errno in error when none could be made.
HANDLE CreateTemporary(const fs::path& directory, fs::path& temporary, int& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = directory / TemporaryName(GetCurrentProcessId(), attempt);
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    error = ErrnoOfLastError();
    if (error != EEXIST) return INVALID_HANDLE_VALUE;
  }
  error = EEXIST;
  return INVALID_HANDLE_VALUE;
}

int WriteAllTo(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD put = 0;
    if (!WriteFile(file, bytes.data(), chunk, &put, nullptr)) return ErrnoOfLastError();
    if (put == 0) return ENOSPC;
    bytes.remove_prefix(put);
  }
  return 0;
}

// Whether the file was last written more than a minute ago.
bool UntouchedForAMinute(const fs::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  constexpr std::uint64_t kMinute = 60ull * 10'000'000ull;  // in ticks of 100 ns
  return ticks(data.ftLastWriteTime) + kMinute < ticks(now);
}

}  // namespace

bool IsWriteProtected(const fs::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::optional<fs::path> FollowLinks(const fs::path& path, std::error_code& error) {
  fs::path file = path;
  for (int link = 0; link < 40; ++link) {
    std::error_code status_error;
    const fs::file_status status = fs::symlink_status(file, status_error);
    if (status.type() == fs::file_type::not_found) return file;
    if (status_error) {
      error = status_error;
      return std::nullopt;
    }
    if (!fs::is_symlink(status)) return file;
    const fs::path target = fs::read_symlink(file, error);
    if (error) return std::nullopt;
    file = target.is_absolute() ? target : file.parent_path() / target;
  }
  error = std::error_code(ELOOP, std::generic_category());
  return std::nullopt;
}

void RemoveStaleTemporaries(const fs::path& directory) {
  // A save that runs holds its temporary file open without letting anyone delete it; a save
  // that died let it go with its process. A minute untouched covers the moment between the
  // save's close and its move.
  std::error_code error;
  for (fs::directory_iterator entry(directory, error), end; !error && entry != end;
       entry.increment(error)) {
    const fs::path& path = entry->path();
    if (!IsTemporaryName(TextOfPath(path.filename())) || !UntouchedForAMinute(path)) continue;
    DeleteFileW(path.c_str());
  }
}

bool PutFileAtomically(const fs::path& path, std::string_view bytes, std::string& why,
                       AtomicWriteStep fail_at, Placing placing) {
  const fs::path directory = path.has_parent_path() ? path.parent_path() : fs::path(".");
  RemoveStaleTemporaries(directory);
  fs::path temporary;
  int error = EACCES;  // a directory the player may not write to
  HANDLE file = INVALID_HANDLE_VALUE;
  if (fail_at != AtomicWriteStep::Open) file = CreateTemporary(directory, temporary, error);
  if (file == INVALID_HANDLE_VALUE) {
    return SaveFailed(why, "cannot create a new file in " + TextOfPath(directory), error);
  }
  // From here on every failure closes and removes the temporary file.
  bool open = true;
  auto give_up = [&](const std::string& what, int reason) {
    if (open) CloseHandle(file);
    DeleteFileW(temporary.c_str());
    return SaveFailed(why, what, reason);
  };
  if (fail_at == AtomicWriteStep::Write) {
    // A full disk: part of the bytes go in, then writing stops.
    static_cast<void>(WriteAllTo(file, bytes.substr(0, bytes.size() / 2)));
    return give_up("cannot write the new file", ENOSPC);
  }
  if (const int failure = WriteAllTo(file, bytes); failure != 0) {
    return give_up("cannot write the new file", failure);
  }
  if (fail_at == AtomicWriteStep::Sync) return give_up("cannot flush the new file", EIO);
  if (!FlushFileBuffers(file)) return give_up("cannot flush the new file", ErrnoOfLastError());
  open = false;
  if (!CloseHandle(file) || fail_at == AtomicWriteStep::Close) {
    return give_up("cannot close the new file",
                   fail_at == AtomicWriteStep::Close ? EIO : ErrnoOfLastError());
  }
  if (fail_at == AtomicWriteStep::Rename) return give_up("cannot replace the file", EACCES);
  // Written through: the move is on the disk when it returns. Without the replace flag it
  // fails where anything stands already.
  const DWORD flags =
      MOVEFILE_WRITE_THROUGH | (placing == Placing::Replace ? MOVEFILE_REPLACE_EXISTING : DWORD{0});
  if (!MoveFileExW(temporary.c_str(), path.c_str(), flags)) {
    return give_up(
        placing == Placing::Replace ? "cannot replace the file" : "cannot create the file",
        ErrnoOfLastError());
  }
  return true;
}

}  // namespace starvane

#endif  // _WIN32
