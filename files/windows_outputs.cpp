// The files room on Windows: the outputs a player asks for (files/system.hpp).
#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "files/atomic_write.hpp"
#include "files/input_file.hpp"
#include "files/output_file.hpp"
#include "files/path_text.hpp"
#include "files/windows_system.hpp"
#include "files/write_all.hpp"

namespace starvane {

void TakeClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (_get_osfhandle(fd) == -1) {
      // The lowest free number is taken: this one, as those below it are open.
      const int taken = _open("NUL", _O_RDONLY);
      if (taken >= 0 && taken != fd) _close(taken);
    }
    // Bytes as they are: in the C library's text mode every LF written would become CR LF,
    // and a dump or a recording written there would differ from the same game's on Linux.
    _setmode(fd, _O_BINARY);
  }
}

int OpenOutput(const std::filesystem::path& path, int flags) {
  // Windows has no named pipes in the file system's folders, so there is nothing to wait for.
  return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT | flags,
                _S_IREAD | _S_IWRITE);
}

bool FillOutput(int fd, const std::filesystem::path& path, std::string_view bytes,
                std::string& why) {
  // Only a regular file is discarded after a failure: the output may be a device (NUL) or a
  // pipe, which stay. Windows removes no open file, so it is closed first.
  struct _stat64 file {};
  const bool regular = _fstat64(fd, &file) == 0 && (file.st_mode & _S_IFMT) == _S_IFREG;
  int error = WriteAll(fd, bytes);
  if (_close(fd) != 0 && error == 0) error = errno;
  if (error != 0 && regular) _wunlink(path.c_str());
  if (error == 0) return true;
  why = OutputErrorText(error);
  return false;
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code first_missing;
  std::error_code second_missing;
  const bool first_exists = std::filesystem::exists(a, first_missing);
  const bool second_exists = std::filesystem::exists(b, second_missing);
  if (first_exists && second_exists) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
  }
  if (first_exists != second_exists) return false;
  const auto first_path = ResolvedFile(a);
  return first_path && first_path == ResolvedFile(b);
}

int OpenInputWithoutWaiting(const std::string& path) {
  // Windows has no named pipes in the file system's folders, so no open waits. It opens no
  // folder either (EACCES): that is said as on Linux.
  const std::filesystem::path name = PathOfText(path);
  const int fd = _wopen(name.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  std::error_code ignored;
  if (fd < 0 && errno == EACCES && std::filesystem::is_directory(name, ignored)) errno = EISDIR;
  return fd;
}

}  // namespace starvane

#endif  // _WIN32
