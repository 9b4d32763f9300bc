#pragma once
// SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2 and SIGALRM during play end the game as
// Escape would, so that nothing is lost: a closed terminal or a dropped remote session (SIGHUP)
// saves the ship like Ctrl+C does. SIGQUIT (Ctrl+\) would otherwise end the program with a core
// dump and lose the ship; a player who presses it wants the game gone, not the ship, so it ends
// the game the same way. USR1, USR2 and ALRM would end it unsaved too: whoever sends them (a
// script, a timer) means "stop", not "lose the ship".
//
// SIGPIPE (an output pipe whose reader is gone, a closed standard error) and SIGXFSZ (a file
// grown past the size limit) would kill the program in the middle of a write, the ship unsaved
// and a screenshot cut. They are ignored instead: the write then fails (EPIPE, EFBIG) and is
// reported like a full disk, and everything else is still written.

namespace starvane {

// Installs the handlers; the signals then only set a flag that the frame loop reads (and the
// start, after reading the input script). A waiting read is interrupted, not resumed.
void CatchQuitSignals();
bool QuitSignalled();

// Ignores SIGPIPE and SIGXFSZ, for the whole run.
void IgnoreWriteSignals();

}  // namespace starvane
