#include "app/link_command.hpp"

#include <string>
#include <variant>

#include "app/exit_status.hpp"
#include "app/text_output.hpp"
#include "replay/recording_text.hpp"
#include "replay/share_link.hpp"

namespace starvane {

int PrintRecordingLink(const Options& options) {
  if (!options.site)
    return Fail(kExitBadCommandLine, "--link needs --site URL, the page's address");
  if (!LinksInThisBuild()) {
    return Fail(kExitBadCommandLine, "--link is not in this build: the page's Share makes links");
  }
  auto text = LoadRecordingText(*options.link);
  if (const auto* error = std::get_if<InputScriptError>(&text)) {
    return Fail(kExitBadCommandLine, error->message);
  }
  const std::string& recording = std::get<std::string>(text);
  const auto parsed = ParseInputScript(recording, *options.link);
  if (const auto* error = std::get_if<InputScriptError>(&parsed)) {
    return Fail(kExitBadCommandLine, error->message);
  }
  auto link = LinkOfRecording(recording, *options.site);
  if (const auto* error = std::get_if<LinkError>(&link)) return Fail(kExitFailure, error->message);
  std::string why;
  if (!WriteText("-", std::get<std::string>(link) + "\n", why)) {
    return Fail(kExitFailure, "cannot write to standard output (" + why + ")");
  }
  return kExitOk;
}

}  // namespace starvane
