#pragma once
// Adding one line at the end of a text file, in one piece or not at all, with the reason when
// it fails: a full disk, no permission, a name that is no plain file.

#include <filesystem>
#include <string_view>
#include <system_error>

namespace starvane {

// Appends the text and CR LF to the named regular file of the directory, creating the file
// when it is missing. A last line without its line end (written by hand) is ended first, so
// the text is a line of its own. On a failure the file is left as it was (a part written
// before the disk filled is cut off again) and the error is returned; empty on success.
std::error_code AppendLine(const std::filesystem::path& directory, std::string_view name,
                           std::string_view text);

}  // namespace starvane
