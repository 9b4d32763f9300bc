#pragma once
// Adding one line at the end of a text file, in one piece or not at all, with the reason when
// it fails: a full disk, no permission, a name that is no plain file, a file already as long
// as its readers read.

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string_view>
#include <system_error>

namespace starvane {

// Appends the text and CR LF to the named regular file of the directory, creating the file
// when it is missing. A last line without its line end (written by hand) is ended first, so
// the text is a line of its own. On a failure the file is left as it was (a part written
// before the disk filled is cut off again) and the error is returned; empty on success.
//
// Appenders of other processes take turns: each holds an exclusive flock() on the file while
// it appends and while it cuts back what it wrote, so a failed append never cuts off a line
// another one wrote meanwhile. (One that holds it for seconds makes this fail: no wait is
// long.) A line that would start at or beyond start_limit bytes, where the file's readers no
// longer read, is refused with file_too_large.
std::error_code AppendLine(const std::filesystem::path& directory, std::string_view name,
                           std::string_view text,
                           std::uintmax_t start_limit = std::numeric_limits<std::uintmax_t>::max());

}  // namespace starvane
