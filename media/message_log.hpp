#pragma once
// Where the program's messages go. On Linux standard output and error always lead somewhere: the
// terminal, or whatever the player sent them to (a closed one is taken by
// TakeClosedStandardStreams), and nothing here does anything.
//
// The Windows game is a program of the graphical subsystem, so that no console window opens
// beside it when it is started from Explorer; such a program starts with no standard output or
// error at all. When it was started from a command prompt, those that lead nowhere are connected
// to that console, so --help, --version and every message still print there. When there is no
// console either, the messages go to starvane.log next to the ship files: they are held from the
// start until the game knows that folder. A stream the player redirected (to a file or a pipe)
// is always left as it is.

#include <filesystem>

namespace starvane {

// The name of the log, in the folder of the ship files.
inline constexpr const char* kMessageLogName = "starvane.log";

// At the very start, before anything is written.
void ConnectStandardStreams();

// Whether messages are held for the log, its folder not yet known.
bool MessagesHeld();

// The held messages, and every later one of the streams that had nowhere to go, go to the log in
// this folder. The log keeps the runs before this one, one line starting each run, and is
// started anew once it has grown past 64 KiB, so it never grows without bound. Nothing is done
// when no message is held; when the log cannot be written, the messages are lost as before.
void KeepMessagesIn(const std::filesystem::path& folder);

}  // namespace starvane
