#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "media/backend.hpp"
#include "media/canvas.hpp"
#include "media/input_mode.hpp"
#include "media/key_bindings.hpp"
#include "media/keys.hpp"
#include "media/live_keys.hpp"
#include "media/pad_keys.hpp"
#include "media/real_screen.hpp"
#include "media/sdl/pushed_input.hpp"
#include "media/sdl/virtual_pad.hpp"
#include "tests/support/harness.hpp"

namespace starvane {
namespace {

constexpr KeyCode kWKey = KeyCode{17};

std::vector<int> KeysDown(const KeyStates& keys) {
  std::vector<int> held;
  for (int key = 0; key < kKeyCount; ++key) {
    if (keys[static_cast<std::size_t>(key)] != 0) held.push_back(key);
  }
  return held;
}

// The keys the game sees at one capture, in key order.
std::vector<int> Held(LiveKeys& live) {
  KeyStates keys{};
  live.Capture(keys);
  return KeysDown(keys);
}

LiveKeys InMode(InputMode mode) {
  LiveKeys live;
  live.SetMode(mode);
  return live;
}

TEST(PadKeys, ButtonsAndSticksBeyondTheDeadZoneHoldTheirPadKeys) {
  PadKeys pad;
  const auto held = [&pad] {
    KeyStates keys{};
    pad.HoldPadKeys(keys);
    return KeysDown(keys);
  };
  pad.SetButton(PadButton::A, true);
  pad.SetButton(PadButton::DpadRight, true);
  EXPECT_EQ(held(), (std::vector<int>{kPadKeyA, kPadKeyRight}));
  pad.SetButton(PadButton::A, false);
  pad.SetButton(PadButton::DpadRight, false);
  pad.SetAxis(PadAxis::LeftX, -(kPadDeadZone - 1));
  pad.SetAxis(PadAxis::LeftY, kPadDeadZone - 1);
  pad.SetAxis(PadAxis::LeftTrigger, kPadDeadZone - 1);
  EXPECT_EQ(held(), std::vector<int>{});
  pad.SetAxis(PadAxis::LeftX, -kPadDeadZone);  // from exactly the dead zone
  pad.SetAxis(PadAxis::RightY, 32767);
  pad.SetAxis(PadAxis::LeftTrigger, kPadDeadZone);
  EXPECT_EQ(held(),
            (std::vector<int>{kPadKeyLeftStickLeft, kPadKeyRightStickDown, kPadKeyLeftTrigger}));
}

// In flight the default bindings make the genre's layout of the controller, and the keyboard's
// keys go through the player's bindings: thrust bound to W makes Up of W and nothing of Up, and
// keys of no action (Escape, O) come as themselves.
TEST(LiveKeys, FlightKeysGoThroughTheBindings) {
  LiveKeys live = InMode(InputMode::Flight);
  live.SetKey(kPadKeyA, true);
  live.SetKey(kPadKeyLeftStickLeft, true);
  live.SetKey(kPadKeyRightTrigger, true);
  EXPECT_EQ(Held(live), (std::vector<int>{kKeyS, kKeySpace, kKeyLeft}));
  live.SetKey(kPadKeyA, false);
  live.SetKey(kPadKeyLeftStickLeft, false);
  live.SetKey(kPadKeyRightTrigger, false);
  live.SetKey(kPadKeyRightStick, true);  // bound to nothing
  EXPECT_EQ(Held(live), std::vector<int>{});

  KeyBindings bindings;
  bindings.Bind(GameAction::Thrust, kWKey);
  live.SetBindings(bindings);
  live.SetKey(kKeyUp, true);
  EXPECT_EQ(Held(live), std::vector<int>{});
  for (const int key : {kWKey, kKeyEscape, kKeyO}) live.SetKey(key, true);
  EXPECT_EQ(Held(live), (std::vector<int>{kKeyEscape, kKeyO, kKeyUp}));
}

// A press quicker than one capture shows at one capture, from the keyboard and the controller.
TEST(LiveKeys, ATapQuickerThanACaptureShowsAtOne) {
  LiveKeys live = InMode(InputMode::Flight);
  live.SetKey(kPadKeyA, true);
  live.SetKey(kPadKeyA, false);
  live.SetKey(kKeyB, true);
  live.SetKey(kKeyB, false);
  EXPECT_EQ(Held(live), (std::vector<int>{kKeyB, kKeySpace}));
  EXPECT_EQ(Held(live), std::vector<int>{});
}

// The weapon button steps through the weapons' keys, holding the next one's while held, and
// goes on from a weapon chosen on the keyboard; a touch tap of "next weapon" steps alike.
TEST(LiveKeys, NextWeaponStepsRoundAndFollowsTheKeyboard) {
  LiveKeys live = InMode(InputMode::Flight);
  for (const int key : std::initializer_list<int>{kKey2, kKey3, kKey1, kKey2}) {
    live.SetKey(kPadKeyY, true);
    EXPECT_EQ(Held(live), std::vector<int>{key});
    EXPECT_EQ(Held(live), std::vector<int>{key});
    live.SetKey(kPadKeyY, false);
    EXPECT_EQ(Held(live), std::vector<int>{});
  }
  live.SetKey(kKey3, true);
  Held(live);
  live.SetKey(kKey3, false);
  live.NextWeapon();
  EXPECT_EQ(Held(live), std::vector<int>{kKey1});
  EXPECT_EQ(Held(live), std::vector<int>{});
}

// Outside flight the controller works the menus, the STATS page's pointer, or comes as itself
// while a key is chosen.
TEST(LiveKeys, TheControllerWorksMenusThePointerAndTheChoiceOfAKey) {
  const struct {
    int pad;
    std::vector<int> keys;
  } menu[] = {
      {kPadKeyUp, {kKeyUp}},
      {kPadKeyLeftStickDown, {kKeyDown}},
      {kPadKeyA, {kKeyReturn}},
      {kPadKeyB, {kKeyEscape}},
      {kPadKeyX, {kKeyBackspace}},
      {kPadKeyY, {kKeyO}},
      {kPadKeyStart, {kKeyP}},
      {kPadKeyBack, {kKeyF1}},
      {kPadKeyRightShoulder, {kKeyTab}},
  };
  for (const auto& [pad, keys] : menu) {
    SCOPED_TRACE(pad);
    LiveKeys live = InMode(InputMode::Windows);
    live.SetKey(pad, true);
    EXPECT_EQ(Held(live), keys);
  }
  // In the pause B, the menus' way back, goes on to the game: only X ends it.
  for (const auto& [pad, keys] : {std::pair{kPadKeyB, kKeyP}, std::pair{kPadKeyX, kKeyEscape}}) {
    LiveKeys paused = InMode(InputMode::Pause);
    paused.SetKey(pad, true);
    EXPECT_EQ(Held(paused), std::vector<int>{keys});
  }
  // The left shoulder is Shift+Tab: Shift first, so that the windows read Tab with it held.
  LiveKeys windows = InMode(InputMode::Windows);
  windows.SetKey(kPadKeyLeftShoulder, true);
  windows.SetKey(kPadKeyLeftShoulder, false);
  EXPECT_EQ(Held(windows), std::vector<int>{kKeyLeftShift});
  EXPECT_EQ(Held(windows), (std::vector<int>{kKeyTab, kKeyLeftShift}));
  EXPECT_EQ(Held(windows), std::vector<int>{});
  LiveKeys live = InMode(InputMode::Workshop);
  live.SetKey(kPadKeyRight, true);
  live.SetKey(kPadKeyLeftStickUp, true);
  live.SetKey(kPadKeyA, true);
  live.SetKey(kPadKeyB, true);
  EXPECT_EQ(Held(live), std::vector<int>{kKeyC});
  const PadPointer first = live.CapturePadPointer();
  const PadPointer second = live.CapturePadPointer();
  EXPECT_GT(first.dx, 0);
  EXPECT_EQ(first.dy, -first.dx);
  EXPECT_GT(second.dx, first.dx);  // the longer it moves, the faster
  EXPECT_TRUE(second.left_button);
  live.SetMode(InputMode::Capture);
  live.SetKey(kPadKeyX, true);
  EXPECT_EQ(Held(live), std::vector<int>{kPadKeyX});
}

// A key or button held as the mode changes makes nothing until it is let go: A held to fire is
// no Return in the pause, a Return held from the launcher never dashes.
TEST(LiveKeys, WhatIsHeldAcrossAChangeOfModeWaitsForItsRelease) {
  LiveKeys live = InMode(InputMode::Flight);
  live.SetKey(kPadKeyB, true);
  EXPECT_EQ(Held(live), std::vector<int>{kKeyReturn});
  live.SetMode(InputMode::Pause);
  EXPECT_EQ(Held(live), std::vector<int>{});
  live.SetKey(kPadKeyB, false);
  live.SetKey(kPadKeyB, true);
  EXPECT_EQ(Held(live), std::vector<int>{kKeyP});
  // The keyboard means the same in the pause as in flight: Up held as the pause ends thrusts.
  live.SetKey(kPadKeyB, false);
  live.SetKey(kKeyUp, true);
  live.SetMode(InputMode::Flight);
  EXPECT_EQ(Held(live), std::vector<int>{kKeyUp});
  live.SetKey(kKeyUp, false);
  live.SetMode(InputMode::Windows);
  live.SetKey(kKeyReturn, true);
  live.SetMode(InputMode::Flight);
  EXPECT_EQ(Held(live), std::vector<int>{});
  EXPECT_TRUE(live.Silenced(kKeyReturn));
  // The keyboard's own events: typed text always; presses only where keys come as themselves,
  // and there never the held Return's repeats.
  const KeyEvents events{{KeyEvent::Kind::Down, kKeyReturn},
                         {KeyEvent::Kind::Down, kKeyUp},
                         {KeyEvent::Kind::Text, 0, "a"}};
  const auto kinds = [](const KeyEvents& kept) {
    std::vector<int> keys;
    for (const KeyEvent& event : kept)
      keys.push_back(event.kind == KeyEvent::Kind::Text ? -1 : event.key);
    return keys;
  };
  EXPECT_EQ(kinds(live.EventsThatMeanWhatTheySay(events)), std::vector<int>{-1});
  live.SetMode(InputMode::Windows);
  EXPECT_EQ(kinds(live.EventsThatMeanWhatTheySay(events)), (std::vector<int>{kKeyUp, -1}));
}

// The whole way from a controller to the game's keys and pointer: SDL's virtual controller under
// the dummy video driver, opened when SDL announces it, its buttons and stick read from SDL's
// events. Sets environment variables for the life of the object, as SDL reads its settings from
// them.
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

// The SDL screen in a window of SDL's dummy video driver, which shows nothing. Such a window
// never has the focus, and SDL drops a controller's events while no window of the game has it,
// unless told otherwise: the environment says so for as long as the caller keeps it.
std::unique_ptr<Display> DummySdlScreen(ScopedEnvironment& environment, std::string& error) {
  environment.Set("SDL_VIDEODRIVER", "dummy");
  environment.Set("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1");
  return ConnectRealScreen({.windowed = true}, error);
}

TEST(SdlPad, AVirtualControllerHoldsTheGamesKeys) {
  ScopedEnvironment environment;
  std::string error;
  std::unique_ptr<Display> screen = DummySdlScreen(environment, error);
  ASSERT_NE(screen, nullptr) << error;
  ASSERT_TRUE(screen->OpenScreen(800, 600, "pad"));
  screen->SetInputMode(InputMode::Flight);
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
  // On the STATS page the d-pad moves the game's pointer and A is its left button.
  screen->SetInputMode(InputMode::Workshop);
  pad->SetButton(PadButton::DpadRight, true);
  pad->SetButton(PadButton::A, true);
  held_after_a_frame();
  const MouseInput mouse = screen->LiveInput().CaptureMouse(0);
  EXPECT_GT(mouse.dx, 0);
  EXPECT_TRUE(mouse.buttons[0]);
  // Pulled out while held: nothing stays down.
  pad.reset();
  EXPECT_EQ(held_after_a_frame(), std::vector<int>{});
}

// The SDL screen with a virtual controller that a list of presses works, one step per frame
// presented (a wait for the window is a frame too, and never waits), and the display's
// WantTextInput calls noted.
class PadPlayer final : public Display {
 public:
  PadPlayer(std::unique_ptr<Display> screen, std::vector<PadButton> presses)
      : screen_(std::move(screen)), presses_(std::move(presses)), pad_(VirtualPad::Attach()) {}
  bool Attached() const { return pad_ != nullptr; }

  void ShowWindowArea(int width, int height, std::string_view title) override {
    screen_->ShowWindowArea(width, height, title);
  }
  bool OpenScreen(int width, int height, std::string_view title) override {
    return screen_->OpenScreen(width, height, title);
  }
  void SetFrameRate(int frames_per_second) override { screen_->SetFrameRate(frames_per_second); }
  void Present(const Canvas& canvas) override {
    Step();
    screen_->Present(canvas);
  }
  bool WaitForWindowMessage(int) override {
    Step();
    return screen_->WaitForWindowMessage(0);
  }
  bool CloseRequested() const override { return screen_->CloseRequested(); }
  InputSource& LiveInput() override { return screen_->LiveInput(); }
  void SetInputMode(InputMode mode) override { screen_->SetInputMode(mode); }
  void WantTextInput(bool wanted) override { text_input.push_back(wanted); }

  std::vector<bool> text_input;

 private:
  // Each press: down for one frame, up for two.
  void Step() {
    const std::size_t press = frame_ / 3;
    if (pad_ != nullptr && press < presses_.size())
      pad_->SetButton(presses_[press], frame_ % 3 == 0);
    ++frame_;
  }
  std::unique_ptr<Display> screen_;
  std::vector<PadButton> presses_;
  std::unique_ptr<VirtualPad> pad_;
  std::size_t frame_ = 0;
};

// A newcomer with a controller alone: Shift+Tab three times to "New", A to open the dialog, the
// name "BB" entered with the d-pad (up, up, on to the next character, up), A for OK, Tab three
// times past "Replays" and "Options" round to "Easy", A: the game begins with that ship.
TEST(SdlPad, TheLauncherWorksWithAControllerAlone) {
  ScopedEnvironment environment;
  std::string error;
  std::unique_ptr<Display> screen = DummySdlScreen(environment, error);
  ASSERT_NE(screen, nullptr) << error;
  using B = PadButton;
  auto player = std::make_unique<PadPlayer>(
      std::move(screen),
      std::vector<PadButton>{B::Guide, B::LeftShoulder, B::LeftShoulder, B::LeftShoulder, B::A,
                             B::DpadUp, B::DpadUp, B::DpadRight, B::DpadUp, B::A, B::RightShoulder,
                             B::RightShoulder, B::RightShoulder, B::A});
  ASSERT_TRUE(player->Attached());
  PadPlayer& pad = *player;
  starvane::testing::Harness run(
      {.display = std::move(player), .frame_limit = 200, .launcher = true});
  EXPECT_FALSE(run.launcher_end);
  EXPECT_EQ(run.game.ShipName, "BB");
  EXPECT_EQ(run.game.Difficulty, 1.0f);
  EXPECT_EQ(pad.text_input, (std::vector<bool>{true, false}));  // the name field had the keys
}

// A watched film on the SDL screen (dummy video driver, SDL's events pushed as a player's): the
// viewer's keys and clicks on the bar's timeline become the film's commands, Escape closes, and
// the game's own input hears nothing of them.
TEST(SdlScreen, AFilmsViewerKeysAndClicksAreFilmCommandsAndNeverTheGames) {
  ScopedEnvironment environment;
  std::string error;
  std::unique_ptr<Display> screen = DummySdlScreen(environment, error);
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
