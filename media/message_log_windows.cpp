// Where the program's messages go, on Windows (media/message_log.hpp).
#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "media/message_log.hpp"

namespace starvane {
namespace {

// A log larger than this at a run's start is started anew: a player who looks after a run that
// went wrong finds it and the few before it, and the file stays small.
constexpr LONGLONG kLogRestartBytes = 64 * 1024;

// The temporary file that holds the messages until the log's folder is known; Windows deletes it
// when it is closed. INVALID_HANDLE_VALUE when nothing is held.
HANDLE held_messages = INVALID_HANDLE_VALUE;
bool output_held = false;
bool error_held = false;

bool LeadsSomewhere(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
  SetLastError(NO_ERROR);
  return GetFileType(handle) != FILE_TYPE_UNKNOWN || GetLastError() == NO_ERROR;
}

// Makes the C library's stream (on its descriptor 1 or 2), and the process's standard handle,
// write to the file, in binary mode as TakeClosedStandardStreams sets every standard stream.
void PointStreamAt(std::FILE* stream, int descriptor, DWORD which, HANDLE file) {
  HANDLE own = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), file, GetCurrentProcess(), &own, 0, FALSE,
                       DUPLICATE_SAME_ACCESS)) {
    return;
  }
  const int opened = _open_osfhandle(reinterpret_cast<std::intptr_t>(own), _O_BINARY);
  if (opened < 0) {
    CloseHandle(own);
    return;
  }
  std::fflush(stream);
  if (opened != descriptor) {
    _dup2(opened, descriptor);
    _close(opened);
  }
#ifdef _UCRT
#error "the stream's descriptor is set in msvcrt's FILE; the UCRT needs another way"
#else
  // The C library leaves a stream that had no handle at the start without a descriptor (-2),
  // and Wine's freopen refuses such a stream; msvcrt keeps the descriptor in the FILE itself.
  stream->_file = descriptor;
#endif
  SetStdHandle(which, reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)));
}

HANDLE OpenHoldingFile() {
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return INVALID_HANDLE_VALUE;
  const std::wstring path = std::wstring(folder, length) + L"starvane-" +
                            std::to_wstring(GetCurrentProcessId()) + L".messages";
  return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

void StartAnewWhenLong(const std::filesystem::path& path) {
  HANDLE log = CreateFileW(path.c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(log, &size) && size.QuadPart > kLogRestartBytes) {
    const LARGE_INTEGER start{};
    if (SetFilePointerEx(log, start, nullptr, FILE_BEGIN)) SetEndOfFile(log);
  }
  CloseHandle(log);
}

void WriteBytes(HANDLE file, const char* bytes, DWORD count) {
  DWORD written = 0;
  WriteFile(file, bytes, count, &written, nullptr);
}

// The line that starts a run's messages in the log, with the local time, so that the runs kept
// there can be told apart.
void WriteRunLine(HANDLE log) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char line[64];
  const int length =
      std::snprintf(line, sizeof line, "--- starvane, %04d-%02d-%02d %02d:%02d:%02d\n", now.wYear,
                    now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
  if (length > 0 && static_cast<std::size_t>(length) < sizeof line) {
    WriteBytes(log, line, static_cast<DWORD>(length));
  }
}

void CopyHeldMessages(HANDLE log) {
  const LARGE_INTEGER start{};
  if (!SetFilePointerEx(held_messages, start, nullptr, FILE_BEGIN)) return;
  char block[4096];
  DWORD read = 0;
  LONGLONG copied = 0;
  while (copied < kLogRestartBytes &&
         ReadFile(held_messages, block, sizeof block, &read, nullptr) && read > 0) {
    WriteBytes(log, block, read);
    copied += read;
  }
}

}  // namespace

void ConnectStandardStreams() {
  // Standard error is never fully buffered, as the C standard has it and as on Linux: Wine's C
  // library buffers it when it is a file, and a message that a crash or a kill then cut off
  // would be lost.
  std::setvbuf(stderr, nullptr, _IONBF, 0);
  const bool output_nowhere = !LeadsSomewhere(GetStdHandle(STD_OUTPUT_HANDLE));
  const bool error_nowhere = !LeadsSomewhere(GetStdHandle(STD_ERROR_HANDLE));
  if (!output_nowhere && !error_nowhere) return;
  // A console program's own console (ERROR_ACCESS_DENIED: already attached) or the one of the
  // command prompt that started the game.
  HANDLE target = INVALID_HANDLE_VALUE;
  if (AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED) {
    target = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  const bool console = target != INVALID_HANDLE_VALUE;
  if (!console) target = OpenHoldingFile();
  if (target == INVALID_HANDLE_VALUE) return;
  if (output_nowhere) PointStreamAt(stdout, 1, STD_OUTPUT_HANDLE, target);
  if (error_nowhere) PointStreamAt(stderr, 2, STD_ERROR_HANDLE, target);
  if (console) {
    CloseHandle(target);
  } else {
    held_messages = target;
    output_held = output_nowhere;
    error_held = error_nowhere;
  }
}

bool MessagesHeld() {
  return held_messages != INVALID_HANDLE_VALUE;
}

void KeepMessagesIn(const std::filesystem::path& folder) {
  if (!MessagesHeld()) return;
  const std::filesystem::path path = folder / kMessageLogName;
  StartAnewWhenLong(path);
  // Appending only: two games of the same folder add their lines after each other's.
  HANDLE log = CreateFileW(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return;
  std::fflush(stdout);
  std::fflush(stderr);
  WriteRunLine(log);
  CopyHeldMessages(log);
  if (output_held) PointStreamAt(stdout, 1, STD_OUTPUT_HANDLE, log);
  if (error_held) PointStreamAt(stderr, 2, STD_ERROR_HANDLE, log);
  CloseHandle(log);
  CloseHandle(held_messages);
  held_messages = INVALID_HANDLE_VALUE;
}

}  // namespace starvane

#endif  // _WIN32
