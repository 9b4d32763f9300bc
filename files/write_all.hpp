#pragma once
// Writing every byte to an open file: write() may take fewer bytes than it was given, or be
// interrupted by a signal, and neither is a failure.

#include <cstddef>
#include <string_view>

namespace starvane {

// Writes all the bytes at the file's position, going on after short writes and interruptions.
// 0 when all were written, else the errno of the failure (ENOSPC for a write that took nothing).
// How many bytes went in, also before a failure, goes to written when given.
int WriteAll(int fd, std::string_view bytes, std::size_t* written = nullptr);

}  // namespace starvane
