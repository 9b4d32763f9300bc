// The quit signals on Windows (media/quit_signal.hpp). Each ends the game as Escape would, so
// the ship is saved:
// - Ctrl+C, Ctrl+Break and a closed console window reach the game when it runs in a console
//   (started from a command prompt), through its control handler, which Windows calls on a thread
//   of its own. A logoff or a shutdown comes this way only to a program without windows.
// - A logoff or a shutdown reaches every top-level window as WM_QUERYENDSESSION, then
//   WM_ENDSESSION. SDL hands neither to the game, and they arrive on the thread that draws the
//   game, which cannot save while it waits in them: a hidden window of this file, on a thread of
//   its own, receives them instead. It also receives the WM_CLOSE of taskkill (without /F).
// Once its handler returns Windows may end the process at any moment (a closed console, a
// logoff, a shutdown): the handler waits until the game has ended, saved, and the process with
// it, and returns only after kMostSavingWait, when the game cannot end (Windows itself ends the
// process a few seconds after a shutdown began: an atomic save then leaves the old ship file).
// Windows has no SIGPIPE or SIGXFSZ: a failed write is reported all the same.
#ifdef _WIN32

#include <windows.h>

#include <atomic>

#include "media/quit_signal.hpp"

namespace starvane {
namespace {

constexpr DWORD kMostSavingWaitMs = 10000;

std::atomic<bool> quit_signalled{false};

// Notes the quit, then waits for the game to end: the program ends the process once the ship is
// saved, and this thread with it.
void QuitAndWaitForTheSave() {
  quit_signalled = true;
  Sleep(kMostSavingWaitMs);
}

BOOL WINAPI NoteConsoleEvent(DWORD event) {
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
    quit_signalled = true;  // the process goes on: the game ends at the end of its frame
    return TRUE;
  }
  QuitAndWaitForTheSave();  // CTRL_CLOSE_EVENT, CTRL_LOGOFF_EVENT, CTRL_SHUTDOWN_EVENT
  return TRUE;
}

LRESULT CALLBACK NoteSessionEnd(HWND window, UINT message, WPARAM ending, LPARAM detail) {
  if (message == WM_QUERYENDSESSION) return TRUE;  // the game never stands in the way
  if (message == WM_CLOSE) {
    // What taskkill (without /F) sends to every window of the game, the kill of Windows: like
    // SIGTERM it ends the game as Escape would, also a headless one, which has no other window.
    quit_signalled = true;
    return 0;
  }
  if (message == WM_ENDSESSION) {
    if (ending != FALSE) {
      // What a player waiting for the shutdown sees while the ship is saved.
      ShutdownBlockReasonCreate(window, L"Starvane is saving the ship");
      QuitAndWaitForTheSave();
    }
    return 0;
  }
  return DefWindowProcW(window, message, ending, detail);
}

DWORD WINAPI WatchSessionEnd(LPVOID) {
  WNDCLASSW kind{};
  kind.lpfnWndProc = NoteSessionEnd;
  kind.hInstance = GetModuleHandleW(nullptr);
  kind.lpszClassName = L"StarvaneSessionEnd";
  if (RegisterClassW(&kind) == 0) return 0;
  // Top-level (never shown): a message-only window is not told of the session's end.
  if (CreateWindowExW(0, kind.lpszClassName, L"Starvane session end", WS_OVERLAPPED, 0, 0, 0, 0,
                      nullptr, nullptr, kind.hInstance, nullptr) == nullptr) {
    return 0;  // no window station (a service): nothing to watch
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

}  // namespace

void CatchQuitSignals() {
  SetConsoleCtrlHandler(NoteConsoleEvent, TRUE);
  if (HANDLE watcher = CreateThread(nullptr, 0, WatchSessionEnd, nullptr, 0, nullptr)) {
    CloseHandle(watcher);
  }
}

void IgnoreWriteSignals() {}

bool QuitSignalled() {
  return quit_signalled;
}

}  // namespace starvane

#endif  // _WIN32
