#include "files/append_line.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "files/files.hpp"
#include "files/write_all.hpp"

namespace starvane {
namespace {

std::error_code Errno(int error) {
  return {error != 0 ? error : EIO, std::generic_category()};
}

}  // namespace

std::error_code AppendLine(const std::filesystem::path& directory, std::string_view name,
                           std::string_view text) {
  if (!FileTable::IsPlainFileName(name)) return std::make_error_code(std::errc::invalid_argument);
  const std::filesystem::path path = directory / std::string(name);
  // Not blocking: a pipe or device under the name must not hold the game up; it is refused.
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0644);
  if (fd < 0) return Errno(errno);
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    const int error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
    close(fd);
    return Errno(error);
  }
  const off_t size = status.st_size;
  std::string bytes;
  char last = '\n';
  if (size > 0 && pread(fd, &last, 1, size - 1) != 1) last = '\n';
  if (last != '\n' && last != '\r') bytes += "\r\n";
  bytes.append(text);
  bytes += "\r\n";
  int error = WriteAll(fd, bytes);
  if (error != 0) {
    // Cut off what was written before the failure. Should even that fail, the error still
    // tells the player that the name is not saved.
    const int ignored = ftruncate(fd, size);
    static_cast<void>(ignored);
  }
  if (close(fd) != 0 && error == 0) error = errno;
  return error == 0 ? std::error_code() : Errno(error);
}

}  // namespace starvane
