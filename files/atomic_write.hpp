#pragma once
// Replacing a file as a whole: the new bytes go to a temporary file next to it, which is flushed
// to the disk and then renamed over the old one. Whatever happens on the way (a full disk, an I/O
// error, a crash), the file is either the old one or the new one, never a mixture or a stump.
//
// A link is followed to its file, which is replaced next to where it lies: the link stays a link.
// A file its owner has protected against writing is never replaced.
//
// A save killed on the way leaves its temporary file (".starvane-PID-N.tmp") behind. A save
// holds a flock() on its temporary file until the rename, and the system lets it go when the
// save's process ends in any way; each replacement first removes the temporary files of its
// directory that no one holds, so at most one per killed save is ever there, and only until the
// next save in that directory. (The process id in the name only keeps names apart: a game in
// another PID namespace, a container sharing the folder, may have any id.) (A temporary
// file without a name, O_TMPFILE, would need linking in before the rename all the same, and not
// every file system has it: the sweep alone covers every case the same way.)

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace starvane {

// The steps of a replacement, in order. Tests name one of them to make it fail.
enum class AtomicWriteStep {
  None,    // no step fails on purpose
  Open,    // creating the temporary file
  Write,   // writing the bytes (fails after half of them, as a full disk would)
  Sync,    // flushing them to the disk
  Close,   // closing the temporary file
  Rename,  // putting it in the place of the old file
};

// Whether the file has been protected against writing: the system refuses to write it, or none
// of its write permission bits is set (a file the administrator, who may write anything, has
// protected all the same). False for a file that is not there.
bool IsWriteProtected(const std::filesystem::path& path);

// The file a path stands for, links followed one by one (a relative link read against its own
// directory): the path itself when it is no link; the target of a dangling link. Nothing and
// the reason (a loop of links, say) when there is no such file.
std::optional<std::filesystem::path> FollowLinks(const std::filesystem::path& path,
                                                 std::error_code& error);

// The one path of the file a name leads to: its links followed (FollowLinks), then made absolute
// with ".", ".." and the links of its folders resolved, so that every way of naming one file
// gives the same path, also for a file yet to be made. Nothing when a link cannot be followed
// or the path not resolved.
std::optional<std::filesystem::path> ResolvedFile(const std::filesystem::path& path);

// Removes the temporary files of replacements in that directory that no running save holds.
void RemoveStaleTemporaries(const std::filesystem::path& directory);

// Replaces the file at path with exactly these bytes. True on success; otherwise the old file
// (or its absence) stays as it was, no temporary file is left behind, and why says what failed.
// fail_at makes that step fail as the system would, for tests.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string& why, AtomicWriteStep fail_at = AtomicWriteStep::None);

// Makes a new file at path with exactly these bytes, as WriteFileAtomically does, but never
// over anything that stands there (not even a link): that fails with "File exists". True on
// success; otherwise nothing is made, and why says what failed.
bool CreateFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                          std::string& why);

}  // namespace starvane
