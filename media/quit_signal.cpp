#include "media/quit_signal.hpp"

#include <csignal>

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
  std::signal(SIGINT, NoteQuitSignal);
  std::signal(SIGTERM, NoteQuitSignal);
}

bool QuitSignalled() {
  return quit_signalled != 0;
}

}  // namespace starvane
