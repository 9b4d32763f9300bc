// The quit signals on POSIX systems (media/quit_signal.hpp).
#ifndef _WIN32

#include "media/quit_signal.hpp"

#include <signal.h>

#include <csignal>
#include <initializer_list>

namespace starvane {
namespace {

// A signal handler can reach nothing but a variable like this one, so it lives here, outside
// the Game state, and is only ever read.
volatile std::sig_atomic_t quit_signalled = 0;

extern "C" void NoteQuitSignal(int) {
  quit_signalled = 1;
}

}  // namespace

void CatchQuitSignals() {
  // Without SA_RESTART a signal also interrupts a read that waits (an input script from a pipe
  // that never ends), so the program can look at the flag and end.
  struct sigaction action {};
  action.sa_handler = NoteQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM}) {
    sigaction(signal, &action, nullptr);
  }
}

void IgnoreWriteSignals() {
  struct sigaction action {};
  action.sa_handler = SIG_IGN;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGPIPE, SIGXFSZ}) sigaction(signal, &action, nullptr);
}

bool QuitSignalled() {
  return quit_signalled != 0;
}

}  // namespace starvane

#endif  // _WIN32
