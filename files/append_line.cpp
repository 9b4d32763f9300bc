#include "files/append_line.hpp"

#include <string>

#include "files/files.hpp"
#include "files/path_text.hpp"
#include "files/system.hpp"

namespace starvane {

bool LineToAppend(char last, std::uintmax_t size, std::string_view text, std::uintmax_t start_limit,
                  std::string& bytes) {
  bytes.clear();
  if (last != '\n' && last != '\r') bytes += "\r\n";
  if (size + bytes.size() >= start_limit) return false;
  bytes.append(text);
  bytes += "\r\n";
  return true;
}

std::error_code AppendLine(const std::filesystem::path& directory, std::string_view name,
                           std::string_view text, std::uintmax_t start_limit) {
  if (!FileTable::IsPlainFileName(name)) return std::make_error_code(std::errc::invalid_argument);
  return AppendToRegularFile(directory / PathOfText(name), text, start_limit);
}

}  // namespace starvane
