#pragma once
// Paths as the game's text. A name the game makes or shows (a ship's file name, a folder from
// the command line, a path in a message) is UTF-8 text; the system takes paths in its own form:
// the very bytes on Linux, UTF-16 on Windows. Every path made from text, and every path turned
// into text, goes through these two, so "Növa" and "Øre 🚀" name the same files on every system.
// (On Windows a std::filesystem::path made straight from a std::string reads its bytes through
// the ANSI code page, not as UTF-8.)

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace starvane {

// The path that UTF-8 text names. On Linux the bytes are taken as they are, UTF-8 or not; on
// Windows a byte that is no part of a UTF-8 character becomes U+FFFD.
std::filesystem::path PathOfText(std::string_view text);
// The path as UTF-8 text: the bytes of PathOfText's path again.
std::string TextOfPath(const std::filesystem::path& path);

// The program's arguments (without its own name) as UTF-8 text: argv as it is on Linux; on
// Windows the wide command line, since argv holds them in the ANSI code page, which has no
// letter for most names.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// An environment variable as UTF-8 text (on Windows read wide, like the arguments); nullptr
// when it is not set. The text stays valid until the program ends.
const char* EnvironmentText(const char* name);

}  // namespace starvane
