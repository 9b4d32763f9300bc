#pragma once
// The files a player asks the game to write (--audio-out, --record, --dump, --screenshot, F12):
// opened so that nothing waits for ever, written so that a failure leaves no stump, and told
// apart from the game's own files so that an output never replaces a ship.

#include <fcntl.h>

#include <filesystem>
#include <string>
#include <string_view>

// Windows' C library has no O_NOFOLLOW: there an output opened with O_EXCL is a new file in
// any case, never one a link leads to.
#if defined(_WIN32) && !defined(O_NOFOLLOW)
#define O_NOFOLLOW 0
#endif

namespace starvane {

// Gives each of descriptors 0, 1 and 2 that is closed (a program started with ">&-") /dev/null,
// read only. Left closed, its number would go to the next file opened, a recording or a ship,
// and a message or a dump to standard output would be written into that file; read only, a
// write to it still fails (EBADF) and is reported.
// On Windows all three are also made binary, so what is written there (a dump to "-") is the
// same bytes as on Linux, with no CR put before each LF.
void TakeClosedStandardStreams();

// Opens an output for writing with these flags besides O_WRONLY | O_CREAT | O_CLOEXEC (O_TRUNC
// to replace what is there, or O_EXCL). A named pipe that no program reads is refused at once
// instead of waited on; a pipe with a reader, a terminal, a device and a regular file open as
// usual and are then written the ordinary, waiting way. The descriptor, or -1 with errno set.
int OpenOutput(const std::filesystem::path& path, int flags);

// The reason an output could not be opened or written, for a message: the system's words, but
// for a named pipe that no program reads (ENXIO), which the system words obscurely.
std::string OutputErrorText(int error);

// Writes the bytes into an output just opened (OpenOutput) under that path, then closes it.
// False with the reason in why when that failed; a regular file is then discarded, so no cut
// file is left.
bool FillOutput(int fd, const std::filesystem::path& path, std::string_view bytes,
                std::string& why);

// Writes the bytes as the whole content of the file (replacing what is there). False with the
// reason in why when that failed; a regular file is then removed, so no cut file is left.
bool WriteWholeOutput(const std::filesystem::path& path, std::string_view bytes, std::string& why);

// Whether two names lead to one file. When both exist: the same device and inode, however
// they are reached (a symbolic link, a hard link, another spelling of the path). Otherwise the
// same path once links, "." and ".." are resolved, so a name that is yet to be written is
// still caught.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace starvane
