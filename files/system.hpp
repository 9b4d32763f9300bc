#pragma once
// The seam between the files room and the operating system. Everything the room asks of the
// system goes through these few calls; files/posix_*.cpp give them on Linux (and any POSIX
// system), files/windows_*.cpp on Windows, and a build compiles only its system's. The rest of
// the room, and every room that uses it, does not know which system it runs on.
//
// The functions of the room's own headers that are nothing but system calls are given by those
// files too: ProgramDirectory, CanWriteDirectory, IsWriteProtected, FollowLinks,
// RemoveStaleTemporaries, TakeClosedStandardStreams, OpenOutput, FillOutput and SameFile.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "files/atomic_write.hpp"

namespace starvane {

// An open file of the system (a descriptor, or a Windows HANDLE), or kNoSystemFile.
using SystemFile = std::intptr_t;
constexpr SystemFile kNoSystemFile = -1;
// Closing a file lets every lock held through it go.
void CloseSystemFile(SystemFile file);

// Opens a regular file as a stream, without ever waiting (a FIFO or a device is refused at
// once): for reading and writing, created when absent and never truncated, or for reading
// only. Null with the reason in error otherwise, also for a file larger than byte_limit.
std::FILE* OpenRegularStream(const std::filesystem::path& path, bool create,
                             std::uintmax_t byte_limit, std::error_code& error);

// Reads a regular file whole (never through a link, never waiting) when it has at most
// most_bytes bytes. False otherwise, or on a read error.
bool ReadWholeRegularFile(const std::filesystem::path& path, std::uintmax_t most_bytes,
                          std::string& bytes);

// Adds a line at the end of a regular file (created when missing), taking turns with other
// appenders and cutting off again what a failed write put in (files/append_line.hpp).
std::error_code AppendToRegularFile(const std::filesystem::path& path, std::string_view text,
                                    std::uintmax_t start_limit);
// The bytes that make the text a line of its own at the end of a file of that size whose last
// byte is last: the file's own last line ended first (CR LF), the text, CR LF. False when the
// line would start at or beyond start_limit.
bool LineToAppend(char last, std::uintmax_t size, std::string_view text, std::uintmax_t start_limit,
                  std::string& bytes);

// What stands at a path, links followed.
enum class PathKind { Absent, RegularFile, Other };
PathKind KindAtPath(const std::filesystem::path& path);

// How a new file is put in its place: over the old one, or only where nothing stands.
enum class Placing { Replace, CreateOnly };
// Writes the bytes to a temporary file next to path, flushes it and puts it in place (the
// steps of AtomicWriteStep, fail_at failing one on purpose). False with the reason in why;
// nothing is then left behind.
bool PutFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string& why,
                       AtomicWriteStep fail_at, Placing placing);
// Whether the name is that of a temporary file of PutFileAtomically (".starvane-PID-N.tmp").
bool IsTemporaryName(std::string_view name);
std::string TemporaryName(std::uint64_t process, int attempt);
// Sets why to what failed and the system's words for the errno; false, for a failed save step.
bool SaveFailed(std::string& why, const std::string& what, int error);

// The locks of files/ship_lock.hpp. The outcome of taking one:
enum class Locking { Held, Busy, Unsupported };
// Opens the lock file, creating it when missing; never through a link and never waiting.
// kNoSystemFile when it cannot be had: refused is then set when something else stands at its
// path, and why says what.
SystemFile OpenLockFile(const std::filesystem::path& path, bool& refused, std::string& why);
// Locks one byte of the lock file for writing, never waiting; why says why when Unsupported.
Locking LockByte(SystemFile file, std::uint64_t offset, std::string& why);
// Opens the ship file for its lock, when it is there and a regular file; else kNoSystemFile.
SystemFile OpenShipFile(const std::filesystem::path& target);
// Locks the whole ship file, shared by every name of it, never waiting.
Locking LockWholeFile(SystemFile file);
// A file name (UTF-8) as the system tells names apart: as it is where case counts, in upper
// case on Windows, where "Nova.shp" and "NOVA.shp" are one file.
std::string ComparedFileName(std::string_view name);

}  // namespace starvane
