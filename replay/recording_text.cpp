#include "replay/recording_text.hpp"

#include "replay/share_link.hpp"

namespace starvane {
namespace {

std::variant<std::string, InputScriptError> TextOfLink(const std::string& link) {
  auto decoded = RecordingOfLink(link);
  if (auto* error = std::get_if<LinkError>(&decoded)) return InputScriptError{error->message};
  return std::move(std::get<std::string>(decoded));
}

}  // namespace

std::variant<std::string, InputScriptError> LoadRecordingText(const std::string& name_or_link) {
  return IsRecordingLink(name_or_link) ? TextOfLink(name_or_link)
                                       : ReadInputScriptFile(name_or_link);
}

std::variant<InputScript, InputScriptError> LoadRecording(const std::string& name_or_link) {
  if (!IsRecordingLink(name_or_link)) return LoadInputScript(name_or_link);
  auto text = TextOfLink(name_or_link);
  if (auto* error = std::get_if<InputScriptError>(&text)) return *error;
  return ParseInputScript(std::get<std::string>(text), "link");
}

}  // namespace starvane
