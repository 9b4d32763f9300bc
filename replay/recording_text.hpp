#pragma once
// A recording named on the command line (--input, --watch, --verify, --link): a file's name, or
// a link that holds the recording itself (replay/share_link.hpp).

#include <string>
#include <variant>

#include "replay/input_script.hpp"

namespace starvane {

// The recording's text: the link's decoded recording, or the file's bytes (read as
// LoadInputScript reads them: only a regular file, at most kMostInputScriptBytes). The error
// is one line that begins with the file's name or "the link".
std::variant<std::string, InputScriptError> LoadRecordingText(const std::string& name_or_link);

// The recording parsed (LoadInputScript for a file; a link's script is named "link" in its
// messages).
std::variant<InputScript, InputScriptError> LoadRecording(const std::string& name_or_link);

}  // namespace starvane
