// The files room on Windows: paths are UTF-16, the game's text UTF-8 (files/path_text.hpp).
#ifdef _WIN32

#include <windows.h>

#include <shellapi.h>  // after windows.h, whose types it uses

#include <limits>
#include <set>

#include "files/path_text.hpp"
#include "files/windows_system.hpp"

namespace starvane {
namespace {

std::wstring WideOfText(std::string_view text) {
  if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string TextOfWide(std::wstring_view wide) {
  if (wide.empty() || wide.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return {};
  }
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

}  // namespace

std::filesystem::path PathOfText(std::string_view text) {
  return std::filesystem::path(WideOfText(text));
}

std::string TextOfPath(const std::filesystem::path& path) {
  return TextOfWide(path.native());
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  if (wide == nullptr) {  // no memory for it: the narrow ones, better than none
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return arguments;
  }
  for (int i = 1; i < count; ++i) arguments.push_back(TextOfWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

const char* EnvironmentText(const char* name) {
  // Asked of the system itself: the C library's wide environment is made from the narrow one
  // in the ANSI code page, which loses the letters of a user name outside it.
  const std::wstring wide_name = WideOfText(name);
  std::wstring value(64, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(value.size());
    const DWORD length = GetEnvironmentVariableW(wide_name.c_str(), value.data(), size);
    if (length == 0) return nullptr;  // not set (an empty value is no folder either)
    if (length < size) {
      value.resize(length);
      break;
    }
    value.resize(length);  // too small: length is then the size it needs, its end included
  }
  // Each text is kept for the rest of the run (a few variables are read, at the start).
  static std::set<std::string> kept;
  return kept.insert(TextOfWide(value)).first->c_str();
}

}  // namespace starvane

#endif  // _WIN32
