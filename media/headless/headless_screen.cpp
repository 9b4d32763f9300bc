// The backend of a program without a screen (STARVANE_BACKEND=headless): it implements the
// connection to the real screen by refusing it, so the game runs only with --headless, fed by an
// input script, with its pictures, sound and state written to files (--screenshot, --audio-out,
// --dump). It lacks everything a player needs: no window, no keyboard, mouse or controller, no
// loudspeaker, no pacing. It needs no library beyond the C++ one, so it builds where SDL2 is
// missing (a server that checks recordings).

#include <memory>
#include <string>

#include "media/real_screen.hpp"

namespace starvane {

std::unique_ptr<Display> ConnectRealScreen(const ScreenOptions& /*options*/, std::string& error) {
  error = "this program was built without a screen, STARVANE_BACKEND=headless";
  return nullptr;
}

void DisconnectRealScreens() {}

}  // namespace starvane
