#pragma once
// SIGINT and SIGTERM during play end the game as Escape would, so that nothing is lost.

namespace starvane {

// Installs the handlers; the signals then only set a flag that the frame loop reads (and the
// start, after reading the input script). A waiting read is interrupted, not resumed.
void CatchQuitSignals();
bool QuitSignalled();

}  // namespace starvane
