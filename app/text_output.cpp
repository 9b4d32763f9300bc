#include "app/text_output.hpp"

#include <cerrno>
#include <cstdio>

#include "base/text_quoting.hpp"
#include "files/output_file.hpp"
#include "files/path_text.hpp"

namespace starvane {

bool WriteText(const std::string& path, const std::string& text, std::string& why) {
  errno = 0;
  bool written = false;
  if (path == "-") {
    written =
        std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
  } else {
    return WriteWholeOutput(PathOfText(path), text, why);
  }
  if (!written) why = ErrnoText(errno != 0 ? errno : EIO);
  return written;
}

}  // namespace starvane
