#include "files/atomic_write.hpp"

#include <string>

#include "base/text_quoting.hpp"
#include "files/path_text.hpp"
#include "files/system.hpp"

namespace starvane {
namespace {

namespace fs = std::filesystem;

constexpr char kTemporaryPrefix[] = ".starvane-";
constexpr char kTemporarySuffix[] = ".tmp";

}  // namespace

bool SaveFailed(std::string& why, const std::string& what, int error) {
  why = what + ": " + ErrnoText(error);
  return false;
}

std::string TemporaryName(std::uint64_t process, int attempt) {
  return kTemporaryPrefix + std::to_string(process) + "-" + std::to_string(attempt) +
         kTemporarySuffix;
}

bool IsTemporaryName(std::string_view name) {
  const std::string_view prefix = kTemporaryPrefix;
  const std::string_view suffix = kTemporarySuffix;
  if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
      !name.ends_with(suffix)) {
    return false;
  }
  name = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  const std::size_t dash = name.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash + 1 == name.size()) return false;
  const auto all_digits = [](std::string_view text) {
    return text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return all_digits(name.substr(0, dash)) && all_digits(name.substr(dash + 1));
}

std::optional<fs::path> ResolvedFile(const fs::path& path) {
  std::error_code error;
  const std::optional<fs::path> file = FollowLinks(path, error);
  if (!file) return std::nullopt;
  const fs::path absolute = fs::absolute(*file, error);
  if (error) return std::nullopt;
  const fs::path folder = fs::weakly_canonical(absolute.parent_path(), error);
  if (error) return std::nullopt;
  return folder / absolute.filename();
}

bool WriteFileAtomically(const fs::path& given, std::string_view bytes, std::string& why,
                         AtomicWriteStep fail_at) {
  std::error_code link_error;
  const std::optional<fs::path> file = FollowLinks(given, link_error);
  if (!file)
    return SaveFailed(why, "cannot follow the link " + TextOfPath(given), link_error.value());
  const fs::path& path = *file;
  if (KindAtPath(path) == PathKind::Other) {
    why = TextOfPath(path) + " is not a regular file";
    return false;
  }
  if (IsWriteProtected(path)) {
    why = TextOfPath(path) + " is write-protected";
    return false;
  }
  return PutFileAtomically(path, bytes, why, fail_at, Placing::Replace);
}

bool CreateFileAtomically(const fs::path& path, std::string_view bytes, std::string& why) {
  return PutFileAtomically(path, bytes, why, AtomicWriteStep::None, Placing::CreateOnly);
}

}  // namespace starvane
