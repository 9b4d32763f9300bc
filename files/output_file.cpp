#include "files/output_file.hpp"

#include <fcntl.h>

#include <cerrno>

#include "base/text_quoting.hpp"

namespace starvane {

std::string OutputErrorText(int error) {
  if (error == ENXIO) return "a named pipe that no program reads";
  return ErrnoText(error);
}

bool WriteWholeOutput(const std::filesystem::path& path, std::string_view bytes, std::string& why) {
  const int fd = OpenOutput(path, O_TRUNC);
  if (fd < 0) {
    why = OutputErrorText(errno);
    return false;
  }
  return FillOutput(fd, path, bytes, why);
}

}  // namespace starvane
