#pragma once
// A player's keys and mouse as SDL's own events, pushed into its queue, so that what the real
// screen makes of them can be tried without a keyboard or a mouse (as VirtualPad does for a
// controller). SDL must have been started by the real screen first; each takes effect when the
// screen next reads its events (its next frame).

namespace starvane {

// A press and the release of the key of this code (media/keys.hpp), with Shift held or not.
void PushKeyTap(int code, bool shift = false);
// The left mouse button going down or up at a point of the window.
void PushLeftButton(int x, int y, bool down);
// The pointer moving to a point of the window.
void PushPointerMove(int x, int y);

}  // namespace starvane
