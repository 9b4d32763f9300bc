#include "replay/recording_text.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "base/text_quoting.hpp"
#include "files/input_file.hpp"
#include "media/quit_signal.hpp"
#include "replay/share_link.hpp"

namespace starvane {
namespace {

std::variant<std::string, InputScriptError> TextOfLink(const std::string& link) {
  auto decoded = RecordingOfLink(link);
  if (auto* error = std::get_if<LinkError>(&decoded)) return InputScriptError{error->message};
  return std::move(std::get<std::string>(decoded));
}

// The file's bytes, under the same conditions as LoadInputScript: a pipe or a device could keep
// the program waiting for ever or fill its memory, and a recording is never anything but a file.
std::variant<std::string, InputScriptError> TextOfFile(const std::string& path) {
  auto refused = [&path](const std::string& why) { return InputScriptError{path + ": " + why}; };
  const int fd = OpenInputWithoutWaiting(path);
  if (fd < 0 && errno == EISDIR) return refused("is a directory, not a recording");
  if (fd < 0) return refused("cannot read the recording (" + ErrnoText(errno) + ")");
  struct stat file {};
  if (fstat(fd, &file) != 0 || !S_ISREG(file.st_mode)) {
    const bool directory = S_ISDIR(file.st_mode);
    close(fd);
    return refused(directory ? "is a directory, not a recording"
                             : "is not a regular file (a pipe or a device), not a recording");
  }
  std::string text;
  std::array<char, 65536> buffer;
  int error = 0;
  while (!QuitSignalled()) {
    const ssize_t got = read(fd, buffer.data(), buffer.size());
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      error = errno;
      break;
    }
    text.append(buffer.data(), static_cast<std::size_t>(got));
    if (text.size() > kMostInputScriptBytes) {  // a file that grows while it is read, too
      close(fd);
      return refused("is larger than 64 MiB, too large for a recording");
    }
  }
  close(fd);
  if (error != 0) return refused("cannot read the recording (" + ErrnoText(error) + ")");
  return text;
}

}  // namespace

std::variant<std::string, InputScriptError> LoadRecordingText(const std::string& name_or_link) {
  return IsRecordingLink(name_or_link) ? TextOfLink(name_or_link) : TextOfFile(name_or_link);
}

std::variant<InputScript, InputScriptError> LoadRecording(const std::string& name_or_link) {
  if (!IsRecordingLink(name_or_link)) return LoadInputScript(name_or_link);
  auto text = TextOfLink(name_or_link);
  if (auto* error = std::get_if<InputScriptError>(&text)) return *error;
  return ParseInputScript(std::get<std::string>(text), "link");
}

}  // namespace starvane
