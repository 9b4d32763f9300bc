#pragma once
// Replacing a file as a whole: the new bytes go to a temporary file next to it, which is flushed
// to the disk and then renamed over the old one. Whatever happens on the way (a full disk, an I/O
// error, a crash), the file is either the old one or the new one, never a mixture or a stump.

#include <filesystem>
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

// Replaces the file at path with exactly these bytes. True on success; otherwise the old file
// (or its absence) stays as it was, no temporary file is left behind, and why says what failed.
// fail_at makes that step fail as the system would, for tests.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string& why, AtomicWriteStep fail_at = AtomicWriteStep::None);

}  // namespace starvane
