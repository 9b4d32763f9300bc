#pragma once
// SIGINT, SIGTERM, SIGHUP and SIGQUIT during play end the game as Escape would, so that nothing
// is lost: a closed terminal or a dropped remote session (SIGHUP) saves the ship like Ctrl+C does.
// SIGQUIT (Ctrl+\) would otherwise end the program with a core dump and lose the ship; a player
// who presses it wants the game gone, not the ship, so it ends the game the same way.

namespace starvane {

// Installs the handlers; the signals then only set a flag that the frame loop reads (and the
// start, after reading the input script). A waiting read is interrupted, not resumed.
void CatchQuitSignals();
bool QuitSignalled();

}  // namespace starvane
