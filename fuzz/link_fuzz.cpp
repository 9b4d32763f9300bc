// Any bytes as a link: it opens to a recording within the bound or is refused with a message
// that begins "the link". Any bytes as a recording: its link opens to those very bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "replay/share_link.hpp"

namespace {

// Small enough that a fuzzer's short inputs reach it; the game's bound works the same way.
constexpr std::size_t kMostBytes = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto opened = starvane::RecordingOfLink(bytes, kMostBytes);
  if (const auto* error = std::get_if<starvane::LinkError>(&opened)) {
    if (error->message.rfind("the link ", 0) != 0 || error->message.find('\n') != std::string::npos)
      std::abort();
  } else if (std::get<std::string>(opened).size() > kMostBytes) {
    std::abort();
  }
  const auto link = starvane::LinkOfRecording(bytes, "https://x.org/");
  const auto again = starvane::RecordingOfLink(std::get<std::string>(link), kMostBytes);
  const auto* recording = std::get_if<std::string>(&again);
  if (recording == nullptr || *recording != bytes) std::abort();
  return 0;
}
