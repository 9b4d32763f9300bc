#pragma once

#include "app/command_line.hpp"

namespace starvane {

// --link FILE --site URL: prints the link to the page at URL that plays the recording in FILE
// (a file that is no input script is refused first: a link must play). The exit status.
int PrintRecordingLink(const Options& options);

}  // namespace starvane
