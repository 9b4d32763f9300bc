#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "media/backend.hpp"
#include "media/canvas.hpp"
#include "media/keys.hpp"
#include "media/pad_keys.hpp"
#include "media/real_screen.hpp"
#include "media/sdl/pushed_input.hpp"
#include "media/sdl/virtual_pad.hpp"

namespace starvane {
namespace {

constexpr int kKeyP = 25;

// The keys held at one capture, in key order.
std::vector<int> Held(PadKeys& pad, KeyStates keys = {}) {
  pad.HoldKeys(keys);
  std::vector<int> held;
  for (int key = 0; key < kKeyCount; ++key) {
    if (keys[static_cast<std::size_t>(key)] != 0) held.push_back(key);
  }
  return held;
}

TEST(PadKeys, EachButtonHoldsItsKeyUntilLetGo) {
  const struct {
    PadButton button;
    int key;
  } cases[] = {
      {PadButton::A, kKeySpace},        {PadButton::B, kKeyReturn},
      {PadButton::X, kKeyLeftControl},  {PadButton::Back, kKeyC},
      {PadButton::Start, kKeyP},        {PadButton::LeftStick, kKeyB},
      {PadButton::LeftShoulder, kKeyA}, {PadButton::RightShoulder, kKeyD},
      {PadButton::DpadUp, kKeyUp},      {PadButton::DpadDown, kKeyDown},
      {PadButton::DpadLeft, kKeyLeft},  {PadButton::DpadRight, kKeyRight},
  };
  for (const auto& [button, key] : cases) {
    SCOPED_TRACE(key);
    PadKeys pad;
    pad.SetButton(button, true);
    EXPECT_EQ(Held(pad), std::vector<int>{key});
    EXPECT_EQ(Held(pad), std::vector<int>{key});
    pad.SetButton(button, false);
    EXPECT_EQ(Held(pad), std::vector<int>{});
  }
  PadKeys pad;
  for (PadButton button : {PadButton::Guide, PadButton::RightStick}) pad.SetButton(button, true);
  EXPECT_EQ(Held(pad), std::vector<int>{});
}

TEST(PadKeys, ATapQuickerThanAFrameShowsAtOneCaptureAndKeyboardKeysStay) {
  PadKeys pad;
  pad.SetButton(PadButton::A, true);
  pad.SetButton(PadButton::A, false);
  KeyStates keyboard{};
  keyboard[kKeyEscape] = 1;
  EXPECT_EQ(Held(pad, keyboard), (std::vector<int>{kKeyEscape, kKeySpace}));
  EXPECT_EQ(Held(pad, keyboard), std::vector<int>{kKeyEscape});
}

TEST(PadKeys, TheStickTurnsThrustsAndBrakesOutsideItsDeadZone) {
  PadKeys pad;
  pad.SetAxis(PadAxis::LeftX, -(kPadDeadZone - 1));
  pad.SetAxis(PadAxis::LeftY, kPadDeadZone - 1);
  EXPECT_EQ(Held(pad), std::vector<int>{});
  pad.SetAxis(PadAxis::LeftX, -kPadDeadZone);
  EXPECT_EQ(Held(pad), std::vector<int>{kKeyLeft});
  pad.SetAxis(PadAxis::LeftX, 32767);
  pad.SetAxis(PadAxis::LeftY, -32768);
  EXPECT_EQ(Held(pad), (std::vector<int>{kKeyUp, kKeyRight}));
  pad.SetAxis(PadAxis::LeftX, 0);
  pad.SetAxis(PadAxis::LeftY, kPadDeadZone);
  EXPECT_EQ(Held(pad), std::vector<int>{kKeyDown});
  pad.SetAxis(PadAxis::LeftY, 100);
  EXPECT_EQ(Held(pad), std::vector<int>{});
  // The right stick does nothing; the triggers teleport (held) and shock.
  pad.SetAxis(PadAxis::RightX, 32767);
  pad.SetAxis(PadAxis::RightY, -32768);
  pad.SetAxis(PadAxis::LeftTrigger, kPadDeadZone - 1);
  EXPECT_EQ(Held(pad), std::vector<int>{});
  pad.SetAxis(PadAxis::LeftTrigger, kPadDeadZone);  // both hold from exactly the dead zone
  pad.SetAxis(PadAxis::RightTrigger, kPadDeadZone);
  EXPECT_EQ(Held(pad), (std::vector<int>{kKeyT, kKeyS}));
}

TEST(PadKeys, TheWeaponButtonHoldsTheNextWeaponsKeyRoundAndRound) {
  PadKeys pad;
  const int expected[] = {kKey2, kKey3, kKey1, kKey2};
  for (int key : expected) {
    pad.SetButton(PadButton::Y, true);
    KeyStates keys{};
    pad.HoldKeys(keys);
    pad.NoteWeaponKeys(keys);
    EXPECT_EQ(Held(pad), std::vector<int>{key});
    pad.SetButton(PadButton::Y, false);
    EXPECT_EQ(Held(pad), std::vector<int>{});
  }
  // A weapon chosen on the keyboard: the button goes on from there.
  KeyStates keyboard{};
  keyboard[kKey3] = 1;
  pad.NoteWeaponKeys(keyboard);
  pad.SetButton(PadButton::Y, true);
  EXPECT_EQ(Held(pad), std::vector<int>{kKey1});
}

// The whole way from a controller to the game's keys: SDL's virtual controller under the dummy
// video driver, opened when SDL announces it, its buttons and stick read from SDL's events.
// Sets environment variables for the life of the object, as SDL reads its settings from them.
#ifdef _WIN32
// Windows' C library sets the environment with _putenv_s; an empty value removes a variable.
int setenv(const char* name, const char* value, int) {
  return _putenv_s(name, value);
}
int unsetenv(const char* name) {
  return _putenv_s(name, "");
}
#endif
class ScopedEnvironment {
 public:
  void Set(const char* name, const char* value) {
    const char* before = std::getenv(name);
    saved_.push_back({name, before != nullptr ? std::optional<std::string>(before) : std::nullopt});
    setenv(name, value, 1);
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name, value->c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
  }

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST(SdlPad, AVirtualControllerHoldsTheGamesKeys) {
  ScopedEnvironment environment;
  environment.Set("SDL_VIDEODRIVER", "dummy");
  // A window of the dummy driver never has the focus, and SDL drops a controller's events
  // while no window of the game has it, unless told otherwise.
  environment.Set("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1");
  std::string error;
  std::unique_ptr<Display> screen = ConnectRealScreen({.windowed = true}, error);
  ASSERT_NE(screen, nullptr) << error;
  ASSERT_TRUE(screen->OpenScreen(800, 600, "pad"));
  std::unique_ptr<VirtualPad> pad = VirtualPad::Attach();
  ASSERT_NE(pad, nullptr);
  const Canvas canvas;
  auto held_after_a_frame = [&] {
    screen->Present(canvas);
    KeyStates keys{};
    EXPECT_TRUE(screen->LiveInput().CaptureKeyboard(0, keys));
    std::vector<int> held;
    for (int key = 0; key < kKeyCount; ++key) {
      if (keys[static_cast<std::size_t>(key)] != 0) held.push_back(key);
    }
    return held;
  };
  EXPECT_EQ(held_after_a_frame(), std::vector<int>{});
  pad->SetButton(PadButton::A, true);
  pad->SetAxis(PadAxis::LeftX, -32768);
  EXPECT_EQ(held_after_a_frame(), (std::vector<int>{kKeySpace, kKeyLeft}));
  pad->SetButton(PadButton::A, false);
  pad->SetAxis(PadAxis::LeftX, 1000);
  pad->SetButton(PadButton::Start, true);
  EXPECT_EQ(held_after_a_frame(), std::vector<int>{kKeyP});
  // Pulled out while held: nothing stays down.
  pad.reset();
  EXPECT_EQ(held_after_a_frame(), std::vector<int>{});
}

// A watched film on the SDL screen (dummy video driver, SDL's events pushed as a player's): the
// viewer's keys and clicks on the bar's timeline become the film's commands, Escape closes, and
// the game's own input hears nothing of them.
TEST(SdlScreen, AFilmsViewerKeysAndClicksAreFilmCommandsAndNeverTheGames) {
  ScopedEnvironment environment;
  environment.Set("SDL_VIDEODRIVER", "dummy");
  environment.Set("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1");  // SDL may start here, for both
  std::string error;
  std::unique_ptr<Display> screen = ConnectRealScreen({.windowed = true}, error);
  ASSERT_NE(screen, nullptr) << error;
  ASSERT_TRUE(screen->OpenScreen(800, 600, "film"));
  const auto commands_after_a_frame = [&] {
    screen->Present(Canvas());
    return screen->TakeFilmCommands();
  };
  screen->ShowFilm({.frame = 10, .length = 3000});
  PushKeyTap(kKeySpace);
  PushKeyTap(kKeyRight, true);
  PushLeftButton(400, 590, true);  // on the timeline, along the picture's bottom
  auto commands = commands_after_a_frame();
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].kind, FilmCommand::Kind::TogglePause);
  EXPECT_EQ(commands[1].kind, FilmCommand::Kind::SeekBy);
  EXPECT_EQ(commands[1].value, 250);
  EXPECT_EQ(commands[2].kind, FilmCommand::Kind::Seek);
  EXPECT_GT(commands[2].value, 1000);
  EXPECT_LT(commands[2].value, 2000);
  // Dragged beyond the bar's end: the film's end; let go, the pointer seeks no more.
  PushPointerMove(5000, 100);
  commands = commands_after_a_frame();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].value, 3000);
  PushLeftButton(5000, 100, false);
  PushPointerMove(100, 590);
  EXPECT_TRUE(commands_after_a_frame().empty());
  const MouseInput mouse = screen->LiveInput().CaptureMouse(0);
  EXPECT_FALSE(mouse.buttons[0]);  // the click was the film's, and so is the pointer
  EXPECT_EQ(mouse.dx, 0);
  EXPECT_EQ(mouse.dy, 0);
  EXPECT_FALSE(screen->CloseRequested());
  PushKeyTap(kKeyEscape);
  EXPECT_TRUE(commands_after_a_frame().empty());
  EXPECT_TRUE(screen->CloseRequested());
}

}  // namespace
}  // namespace starvane
