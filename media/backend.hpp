#pragma once
// What a backend supplies to the media layer. The build links one real screen
// (media/real_screen.hpp): SDL2's on the desktop (media/sdl), the page's in the browser
// (media/web), or none (media/headless); the headless display here shows nothing and takes its
// input from an input script. Nothing above the media layer knows which one is in use.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "media/canvas.hpp"
#include "media/film_controls.hpp"
#include "media/input_mode.hpp"
#include "media/key_bindings.hpp"
#include "media/keys.hpp"
#include "media/loop_end.hpp"
#include "media/mouse.hpp"
#include "media/screen_fit.hpp"

namespace starvane {

// Where keyboard and mouse states come from. A source's state may change only between two
// presented frames, so that a recorded game can be replayed capture for capture.
//
// The game reads held keys from the state (thrust, fire) and acts on most others as they are
// let go: a key acts once a capture found it up after one that found it down
// (Keyboard::KeyboardReleased). So a source that does not hear keys go up (a terminal, a touch
// screen), or that may hear a key go down and up between two captures, must still show each
// press as down in at least one capture and up in a later one: it holds the key down for the
// next capture and lets it go in the one after, which the game reads as a tap. It must never
// leave a key down that it will not see go up (the ship would thrust and fire on): when it loses
// track of the keys, it says so with CaptureFocusLost, and the game lets every key go. It need
// not invent the release's event: the media layer adds one for every key whose state changed
// without one.
class InputSource {
 public:
  virtual ~InputSource() = default;
  // The state of all keys after frames_presented frames; false when the capture failed.
  virtual bool CaptureKeyboard(std::int64_t frames_presented, KeyStates& keys) = 0;
  // The movement since the last capture and the buttons held.
  virtual MouseInput CaptureMouse(std::int64_t frames_presented) = 0;
  // What the keyboard did since the last capture, in order (media/keys.hpp); asked for just
  // before CaptureKeyboard. A source may leave out what matches the key states anyway: the
  // media layer adds a press or a release for every key whose state changed without one.
  virtual KeyEvents CaptureKeyEvents(std::int64_t /*frames_presented*/) { return {}; }
  // Whether the window lost the focus (or was minimised) since the last capture; asked first of
  // the three at each examination of the keyboard.
  virtual bool CaptureFocusLost(std::int64_t /*frames_presented*/) { return false; }
  // Where the game's mouse is after it took (or dropped) a capture: a source that knows where
  // the player points gives the next capture's movement from here.
  virtual void MouseExaminedAt(PointerPosition /*position*/) {}
  // How the game ends once frames_presented frames have been presented: a script may end it
  // where its recorded game ended. Nothing while it goes on; live input never ends it.
  virtual std::optional<LoopEnd> EndAt(std::int64_t /*frames_presented*/) const { return {}; }
  // A copy of the source as it stands, which goes on exactly as this one would: a film goes back
  // to a kept point of a recording with it (app/film*). Nothing for a source that cannot be
  // copied (a player's keyboard).
  virtual std::unique_ptr<InputSource> Copy() const { return nullptr; }
};

// Where finished frames go.
class Display {
 public:
  virtual ~Display() = default;
  // Shows only the top-left width x height of the back buffer, in a small window centred on the
  // desktop, with the system's pointer and text input: the launcher's window. OpenScreen later
  // turns the same window into the game's screen.
  virtual void ShowWindowArea(int /*width*/, int /*height*/, std::string_view /*title*/) {}
  virtual bool OpenScreen(int width, int height, std::string_view title) = 0;
  // The pace of presenting, in frames per second.
  virtual void SetFrameRate(int frames_per_second) = 0;
  // Presents the finished frame (waiting for its turn) and processes pending window messages.
  virtual void Present(const Canvas& canvas) = 0;
  // Presents nothing new, the last frame stays shown: waits until a window message comes, at
  // most this long, and processes the pending ones. True when the window lost its image (it
  // was uncovered or resized) and wants the next frame presented.
  virtual bool WaitForWindowMessage(int /*most_milliseconds*/) { return false; }
  // The player closed the window.
  virtual bool CloseRequested() const = 0;
  // Plays one frame of sound (media/sound_source.hpp), handed over right after its frame was
  // presented. A display without a loudspeaker drops it.
  virtual void QueueSound(std::span<const std::int16_t> /*samples*/) {}
  // A short notice over the picture ("Shield on"), or none when the text is empty. It is shown
  // by the presentation only, never drawn into the back buffer, so frames, their hashes and
  // screenshots are the same with notices or without; a display without a screen ignores it.
  virtual void ShowNotice(std::string_view /*text*/) {}
  // Watching a film (media/film_controls.hpp): its controls as they stand, drawn over the
  // picture by the presentation at each frame presented; and the viewer's commands since the
  // last call, from keys and clicks that then reach no game. A display without a screen shows
  // nothing and hears nothing.
  virtual void ShowFilm(const FilmState& /*state*/) {}
  virtual std::vector<FilmCommand> TakeFilmCommands() { return {}; }
  // The keyboard and mouse that belong to this display.
  virtual InputSource& LiveInput() = 0;
  // The key of this code as the player's keyboard labels it: key codes name positions, so on a
  // French keyboard the key of code 30 (A on a US one) reads "Q". Without a layout to ask, the
  // US label.
  virtual std::string KeyLabel(int code) const { return UsKeyLabel(code); }
  // What the player's keys and controller mean now (media/input_mode.hpp), and the bindings
  // that make the game's keys of them in flight (media/key_bindings.hpp). A display whose input
  // is not a player's ignores both.
  virtual void SetInputMode(InputMode /*mode*/) {}
  virtual void SetKeyBindings(const KeyBindings& /*bindings*/) {}
  // A text field has the keyboard's typing (the New Ship dialog's name): a touch screen shows
  // its keyboard meanwhile. False when none has.
  virtual void WantTextInput(bool /*wanted*/) {}
  // The player chose another way to show the picture (the options page): a window or the full
  // screen, sharp or whole-multiple pixels. A display that has no such choice ignores it.
  virtual void ChangeScreen(const ScreenOptions& /*options*/) {}
  // Where the files' own locks keep no game apart (a browser's pages share its files, and its
  // file system locks nothing), the display keeps the ship of this key for one game across its
  // pages instead, until it keeps another or ends. The others keep nothing.
  enum class ShipHold { NotKept, Held, Refused };
  virtual ShipHold HoldShip(std::string_view /*key*/) { return ShipHold::NotKept; }
  // A display whose page can be closed at any moment without a word (the browser's) saves the
  // ship with this whenever it is hidden, between two frames, so that a closed page loses
  // nothing; the others never call it. An empty function saves nothing.
  virtual void SaveShipWhenHidden(std::function<std::string()> /*save*/) {}
};

// A source with no keys down and no mouse movement, ever.
class NoInput final : public InputSource {
 public:
  bool CaptureKeyboard(std::int64_t, KeyStates& keys) override {
    keys.fill(0);
    return true;
  }
  MouseInput CaptureMouse(std::int64_t) override { return {}; }
};

// A display that shows nothing and never waits (tests build their stand-ins on it).
class HeadlessDisplay : public Display {
 public:
  bool OpenScreen(int, int, std::string_view) override { return true; }
  void SetFrameRate(int) override {}
  void Present(const Canvas&) override {}
  bool CloseRequested() const override { return false; }
  InputSource& LiveInput() override { return no_input_; }

 private:
  NoInput no_input_;
};

}  // namespace starvane
