#pragma once
// The real screen, keyboard and mouse of the machine.

#include <memory>
#include <string>

#include "media/backend.hpp"
#include "media/screen_fit.hpp"  // ScreenOptions

namespace starvane {

// Connects to the display. Without one, returns nullptr and says why in error.
std::unique_ptr<Display> ConnectRealScreen(const ScreenOptions& options, std::string& error);

// Ends what the screens connected so far left started (SDL stays started from the first screen
// to this call, so that one screen can follow another): called once, when the program ends
// normally. A program ended by its display going away (the X server's end) exits without it:
// ending SDL then would wait forever for the server that is gone.
void DisconnectRealScreens();

}  // namespace starvane
