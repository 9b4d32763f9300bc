// settings.txt on the disk: read once at the start of a player's game, replaced as a whole when
// the player changed an option.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "app/settings.hpp"
#include "base/text_quoting.hpp"
#include "files/atomic_write.hpp"
#include "files/path_text.hpp"

namespace starvane {
namespace {

constexpr std::string_view kSettingsName = "settings.txt";

std::string SettingsPathText(const std::filesystem::path& directory) {
  return Quoted(TextOfPath(directory / kSettingsName));
}

// The file refused whole: said once, and kept as it is.
SettingsFile Unread(const std::filesystem::path& directory, std::string_view why) {
  std::fprintf(stderr, "starvane: %s %.*s: it is not read, and not written over\n",
               SettingsPathText(directory).c_str(), static_cast<int>(why.size()), why.data());
  SettingsFile file;
  file.kept_as_it_is = true;
  return file;
}

}  // namespace

SettingsFile ReadSettingsFile(const std::filesystem::path& directory) {
  const std::filesystem::path path = directory / kSettingsName;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return {};
  if (error) return Unread(directory, "cannot be read (" + error.message() + ")");
  // Anything but a regular file (a FIFO, a device) might never end, or hold up the start.
  if (status.type() != std::filesystem::file_type::regular) {
    return Unread(directory, "is not a regular file");
  }
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return Unread(directory, "cannot be read (" + error.message() + ")");
  if (size > kMostSettingsBytes) return Unread(directory, "is larger than 64 KiB");
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  bytes.resize(kMostSettingsBytes + 1);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad() || !in.eof()) return Unread(directory, "cannot be read");
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  std::string damage;
  SettingsFile file = ParseSettings(bytes, &damage);
  if (!damage.empty()) {
    std::fprintf(stderr, "starvane: %s %s: the rest is not read\n",
                 SettingsPathText(directory).c_str(), damage.c_str());
  }
  return file;
}

bool WriteSettingsFile(const std::filesystem::path& directory, const SettingsFile& file) {
  if (file.kept_as_it_is) {
    std::fprintf(stderr, "starvane: the options are not saved: %s is kept as it is\n",
                 SettingsPathText(directory).c_str());
    return false;
  }
  std::string why;
  if (!WriteFileAtomically(directory / kSettingsName, SettingsText(file), why)) {
    std::fprintf(stderr, "starvane: cannot save the options to %s (%s)\n",
                 SettingsPathText(directory).c_str(), why.c_str());
    return false;
  }
  return true;
}

}  // namespace starvane
