// The quit signals on Windows (media/quit_signal.hpp): Ctrl+C, Ctrl+Break, a closed console
// window, a logoff and a shutdown reach a console program through its control handler, which
// Windows calls on a thread of its own. Each ends the game as Escape would, so the ship is
// saved. Windows has no SIGPIPE or SIGXFSZ: a failed write is reported all the same.
#ifdef _WIN32

#include <windows.h>

#include <atomic>

#include "media/quit_signal.hpp"

namespace starvane {
namespace {

std::atomic<bool> quit_signalled{false};

BOOL WINAPI NoteQuitSignal(DWORD event) {
  quit_signalled = true;
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
  // For a closed console, a logoff or a shutdown Windows ends the process once this returns:
  // the game is given a few seconds to see the flag and save first.
  for (int wait = 0; wait < 40; ++wait) Sleep(50);
  return TRUE;
}

}  // namespace

void CatchQuitSignals() {
  SetConsoleCtrlHandler(NoteQuitSignal, TRUE);
}

void IgnoreWriteSignals() {}

bool QuitSignalled() {
  return quit_signalled;
}

}  // namespace starvane

#endif  // _WIN32
