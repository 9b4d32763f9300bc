#include "app/pause.hpp"

#include <gtest/gtest.h>

#include "app/help_page.hpp"
#include "app/options_page.hpp"
#include "app/state_summary.hpp"
#include "replay/input_recorder.hpp"
#include "tests/support/harness.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;
using starvane::testing::World;

// The whole state summary of the game a script plays, with the frame count left out (0): the
// world, the clocks, the money and the hash of the last frame.
std::string WorldAfter(std::string_view script) {
  Harness t({.script = script, .world = World::Generated});
  EXPECT_EQ(RunFrameLoop(t.game), LoopEnd::FrameLimit);
  return StateSummary(t.game, 0);
}

// A flight with thrust and fire, and the same flight with a pause of 20 frames after frame 20:
// P goes down at 20 (the game's examination), the pause's frames are 21 to 40, and P goes down
// again at 40, so that the game examines the keyboard next at 41, where it examined at 21.
constexpr std::string_view kFlight = "5 down Up Space\n30 up Space\n60 down Left\n100 end frames\n";
constexpr std::string_view kFlightWithPause =
    "5 down Up Space\n20 down P\n21 up P\n40 down P\n41 up P\n"
    "50 up Space\n80 down Left\n120 end frames\n";

TEST(Pause, AGameWithAPauseIsTheSameGameAsWithoutAndItsRecordingReplaysIt) {
  const std::string without = WorldAfter(kFlight);
  EXPECT_EQ(WorldAfter(kFlightWithPause), without);

  // A lost focus pauses too, and lets the keys go at that examination: the same game as one
  // whose keys went up at 20 and down again at the next frame.
  EXPECT_EQ(WorldAfter("5 down Up Space\n20 focus lost\n40 down P\n41 up P\n41 down Up Space\n"
                       "50 up Space\n80 down Left\n120 end frames\n"),
            WorldAfter("5 down Up Space\n20 up Up Space\n21 down Up Space\n30 up Space\n"
                       "60 down Left\n100 end frames\n"));

  // The recording of the paused game, pause and focus loss included, replays to its own dump,
  // frame count and all.
  starvane::testing::TempDirectory dir;
  const auto path = dir.Path() / "rec.txt";
  const std::string_view script =
      "5 down Up Space\n20 down P\n21 up P\n30 down P\n31 up P\n45 focus lost\n"
      "60 down P\n70 end frames\n";
  std::string recorded_dump;
  {
    Harness t({.script = script,
               .recorder = InputRecorder::Create(path, InputScriptHeader(1, 0.2f, "Pilot")),
               .world = World::Generated});
    const LoopEnd end = RunFrameLoop(t.game);
    ASSERT_EQ(end, LoopEnd::FrameLimit);
    ASSERT_TRUE(t.media.FinishRecording(end));
    recorded_dump = StateSummary(t.game, t.media.FramesPresented());
  }
  const std::string recording = dir.Read("rec.txt");
  EXPECT_NE(recording.find("\n45 focus lost\n45 up Space Up\n"), std::string::npos) << recording;
  Harness replay({.script = recording, .world = World::Generated});
  EXPECT_EQ(RunFrameLoop(replay.game), LoopEnd::FrameLimit);
  EXPECT_EQ(StateSummary(replay.game, replay.media.FramesPresented()), recorded_dump);
}

TEST(Pause, ShowsTheLastGameFrameDimmedWithLargePausedAndItsKeysUntilEscape) {
  Harness t({.script = "10 down P\n11 up P\n14 down Escape\n",
             .keep_frames = true,
             .world = World::Generated});
  EXPECT_EQ(RunFrameLoop(t.game), LoopEnd::Escape);
  ASSERT_EQ(t.media.FramesPresented(), 15);  // the game's 11, then the pause's 4
  Canvas dimmed = t.Frame(11);
  dimmed.Dim();
  const Canvas& paused = t.Frame(12);
  // Outside the bands of "PAUSED" (4 times the font's size) and of the keys (twice), the
  // game's frame at half its brightness; in them, white text, large enough for 640 x 480.
  int white = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const bool text = (y >= 240 && y < 308) || (y >= 322 && y < 356);
      if (!text) {
        ASSERT_EQ(paused.Pixel(x, y), dimmed.Pixel(x, y)) << x << "," << y;
      } else if (paused.Pixel(x, y) == 0xFFFF) {
        ++white;
      }
    }
  }
  EXPECT_GT(white, 6000);
  // The pause presents its picture once and then only waits for the window: 15 frames are
  // counted, 12 pictures were presented, and the paused one stays on the screen.
  EXPECT_EQ(t.Shown().size(), 12u);
  EXPECT_EQ(t.media.Screen.Pixels(), paused.Pixels());
}

// F1 pauses with the controls shown, and F1, P or Escape goes back to the game. Escape there
// closes the page and does not end the game: the game waits until it is let go (at 40 here),
// so every variant plays the game of kFlight.
TEST(Pause, TheControlsPagePausesLikePAndEscapeThereGoesBackToTheGame) {
  const std::string without = WorldAfter(kFlight);
  constexpr std::string_view kTail = "50 up Space\n80 down Left\n120 end frames\n";
  for (const std::string_view pause :
       {"20 down F1\n21 up F1\n40 down F1\n41 up F1\n",
        "20 down F1\n21 up F1\n30 down Escape\n40 up Escape\n",
        "20 down P\n21 up P\n25 down F1\n26 up F1\n40 down P\n41 up P\n"}) {
    EXPECT_EQ(WorldAfter("5 down Up Space\n" + std::string(pause) + std::string(kTail)), without)
        << pause;
  }
}

// The controls name the keys as the player's keyboard labels them: on a French keyboard the
// key at the place of the US A reads "Q". A scripted game names the US keys on any machine, and
// a game that ends on the page leaves the game's frame: its replays draw alike everywhere.
TEST(Pause, TheControlsNameTheKeysAsTheKeyboardLabelsThem) {
  const auto french = [] {
    auto display = std::make_unique<starvane::testing::FrameCatcher>();
    display->key_labels = {{kKeyA, "Q"}};
    return display;
  };
  Media live(".", french());
  DrawHelpPage(live);
  // The turret's row, the sixth: its keys in cyan on black at (90, 153).
  Canvas expected;
  expected.FrontColor(0, 255, 255);
  expected.BackColor(0, 0, 0);
  expected.Locate(90, 153);
  expected.DrawText("Q, D");
  for (int y = 153; y < 153 + 13; ++y) {
    for (int x = 90; x < 90 + 5 * 8; ++x) {
      ASSERT_EQ(live.Screen.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(live.Screen.Pixel(60, 34), ScreenColor(128, 128, 128));  // the page's frame
  Media scripted(".", french(), std::make_unique<NoInput>());
  EXPECT_EQ(scripted.KeyLabel(kKeyA), "A");

  Harness t({.script = "10 down F1\n11 up F1\n15 end frames\n",
             .keep_frames = true,
             .world = World::Generated});
  EXPECT_EQ(RunFrameLoop(t.game), LoopEnd::FrameLimit);
  EXPECT_EQ(t.Frame(12).Pixel(60, 34), ScreenColor(128, 128, 128));
  EXPECT_EQ(t.media.Screen.Pixels(), t.Frame(11).Pixels());
}

// Whether the page shows this text in the keys' colour at (x, y), and nothing right after it.
bool ShowsKeys(const Canvas& page, int x, int y, std::string_view text) {
  Canvas expected;
  expected.FrontColor(0, 0, 0);
  const int width = (static_cast<int>(text.size()) + 1) * 8;
  expected.Box(x, y, width, 13);
  expected.FrontColor(0, 255, 255);
  expected.BackColor(0, 0, 0);
  expected.Locate(x, y);
  expected.DrawText(text);
  for (int row = y; row < y + 13; ++row) {
    for (int column = x; column < x + width; ++column) {
      if (page.Pixel(column, row) != expected.Pixel(column, row)) return false;
    }
  }
  return true;
}

// The controls show the player's bindings: thrust on W in the keyboard's table, fire on Y in the
// controller's (whose row of A, B and X then names each button's action on a line of its own).
// A script's page shows the game's own keys, as its replays must everywhere.
TEST(Pause, TheControlsShowThePlayersBindings) {
  KeyBindings bindings;
  bindings.Bind(GameAction::Thrust, KeyCode{17});  // W
  bindings.Bind(GameAction::Fire, kPadKeyY);
  Media live(".", std::make_unique<starvane::testing::FrameCatcher>());
  live.SetKeyBindings(bindings);
  DrawHelpPage(live);
  EXPECT_TRUE(ShowsKeys(live.Screen, 90, 93, "W"));  // the second row: thrust
  EXPECT_TRUE(ShowsKeys(live.Screen, 90, 408, "Y"));
  EXPECT_TRUE(ShowsKeys(live.Screen, 90, 423, "B"));
  Media scripted(".", std::make_unique<starvane::testing::FrameCatcher>(),
                 std::make_unique<NoInput>());
  scripted.SetKeyBindings(bindings);
  DrawHelpPage(scripted);
  EXPECT_TRUE(ShowsKeys(scripted.Screen, 90, 93, "Up"));
  EXPECT_TRUE(ShowsKeys(scripted.Screen, 90, 408, "A, B, X"));
}

// A new ship's first game in a window opens on the controls by a press that the recording
// holds, so the replay opens on them at the same frame without being asked.
TEST(Pause, APressOfTheGamesOwnIsRecordedAndReplayed) {
  starvane::testing::TempDirectory dir;
  const auto path = dir.Path() / "rec.txt";
  std::string recorded_dump;
  {
    Harness t({.script = "0 down Up\n30 down P\n31 up P\n60 end frames\n",
               .keep_frames = true,
               .recorder = InputRecorder::Create(path, InputScriptHeader(1, 0.2f, "Pilot")),
               .world = World::Generated});
    t.media.PressKeyOnce(kKeyF1);
    const LoopEnd end = RunFrameLoop(t.game);
    ASSERT_EQ(end, LoopEnd::FrameLimit);
    ASSERT_TRUE(t.media.FinishRecording(end));
    EXPECT_NE(t.Frame(2).Pixel(60, 34), ScreenColor(128, 128, 128));  // a game frame first
    EXPECT_EQ(t.Frame(3).Pixel(60, 34), ScreenColor(128, 128, 128));
    recorded_dump = StateSummary(t.game, t.media.FramesPresented());
  }
  const std::string recording = dir.Read("rec.txt");
  EXPECT_NE(recording.find("\n0 down Up\n1 down F1\n2 up F1\n"), std::string::npos) << recording;
  Harness replay({.script = recording, .world = World::Generated});
  EXPECT_EQ(RunFrameLoop(replay.game), LoopEnd::FrameLimit);
  EXPECT_EQ(StateSummary(replay.game, replay.media.FramesPresented()), recorded_dump);
}

// A display whose own keyboard plays a script: the game takes its keys for a player's.
class ScriptedPlayer final : public Display {
 public:
  explicit ScriptedPlayer(InputScript script) : keys_(std::move(script.events), script.end) {}
  bool OpenScreen(int, int, std::string_view) override { return true; }
  void SetFrameRate(int) override {}
  void Present(const Canvas&) override {}
  bool CloseRequested() const override { return false; }
  InputSource& LiveInput() override { return keys_; }

 private:
  ScriptedInput keys_;
};

// O in the pause opens the options page; what the player does there (a setting, a key bound,
// Escape back) is recorded nowhere, and the game goes on only once every key is up. The
// recording replays to the same game, frame count and last picture, and its O opens nothing.
TEST(Pause, TheOptionsPageIsThePlayersAloneAndItsRecordingReplaysTheSameGame) {
  std::string script = "5 down Up Space\n15 up Up Space\n20 down P\n21 up P\n25 down O\n26 up O\n";
  script += "28 down Right\n29 up Right\n";       // the volume, a step up
  for (int frame = 30; frame < 40; frame += 2) {  // to the Thrust row: Mute ... TurnRight, Thrust
    script += std::to_string(frame) + " down Down\n" + std::to_string(frame + 1) + " up Down\n";
  }
  script += "40 down Down\n41 up Down\n42 down Return\n43 up Return\n45 down W\n46 up W\n";
  script += "48 down Escape\n52 up Escape\n56 down P\n57 up P\n60 down Left\n90 end frames\n";
  starvane::testing::TempDirectory dir;
  OptionsPage page;
  page.directory = dir.Path();
  page.saved = ParseSettings("volume 70\nfuture.line on\n");
  page.run = page.saved.choices;
  page.run.volume = 30;  // --volume 30: the command line's choice, for this run only
  std::string recorded_dump;
  {
    Harness t({.display = std::make_unique<ScriptedPlayer>(
                   std::get<InputScript>(ParseInputScript(script, "player"))),
               .recorder = InputRecorder::Create(dir.Path() / "rec.txt",
                                                 InputScriptHeader(1, 0.2f, "Pilot")),
               .world = World::Generated});
    const LoopEnd end = RunFrameLoop(t.game, nullptr, &page);
    ASSERT_EQ(end, LoopEnd::FrameLimit);  // Escape on the page went back and ended nothing
    ASSERT_TRUE(t.media.FinishRecording(end));
    recorded_dump = StateSummary(t.game, t.media.FramesPresented());
    EXPECT_EQ(t.media.Bindings().KeysOf(GameAction::Thrust),
              (std::vector<int>{*KeyByName("W"), kPadKeyUp, kPadKeyLeftStickUp}));
  }
  const std::string settings = dir.Read("settings.txt");
  EXPECT_TRUE(settings.starts_with("volume 40\nfuture.line on\nmute no\n")) << settings;
  EXPECT_NE(settings.find("\nkeys.thrust W PadUp PadLeftStickUp\n"), std::string::npos);

  const std::string recording = dir.Read("rec.txt");
  EXPECT_EQ(recording.find("Escape"), std::string::npos) << recording;
  std::filesystem::remove(dir.Path() / "settings.txt");
  Harness replay({.script = recording, .world = World::Generated});
  EXPECT_EQ(RunFrameLoop(replay.game, nullptr, &page), LoopEnd::FrameLimit);
  EXPECT_EQ(StateSummary(replay.game, replay.media.FramesPresented()), recorded_dump);
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "settings.txt"));
}

// A source whose keys stay down, as a window that lost the focus may still report them.
class FocusLosingKeys final : public InputSource {
 public:
  bool CaptureKeyboard(std::int64_t, KeyStates& keys) override {
    keys = held;
    return true;
  }
  MouseInput CaptureMouse(std::int64_t) override { return {}; }
  bool CaptureFocusLost(std::int64_t) override { return std::exchange(lost, false); }

  KeyStates held{};
  bool lost = false;
};

TEST(Pause, ALostFocusLetsEveryKeyGoAtThatExamination) {
  auto source = std::make_unique<FocusLosingKeys>();
  FocusLosingKeys& keys = *source;
  Media media(".", nullptr, std::move(source));
  keys.held[kKeyUp] = 1;
  keys.held[kKeySpace] = 1;
  media.ExamineKeyboard();
  EXPECT_TRUE(media.KeyboardPushed(kKeyUp));
  EXPECT_FALSE(media.FocusLost());
  keys.lost = true;
  media.ExamineKeyboard();
  EXPECT_TRUE(media.FocusLost());
  EXPECT_FALSE(media.KeyboardPushed(-1));
  ASSERT_EQ(media.KeyboardEvents().size(), 2u);
  EXPECT_EQ(media.KeyboardEvents()[0].kind, KeyEvent::Kind::Up);
  // Held on (pressed again), the keys are down at the next examination.
  media.ExamineKeyboard();
  EXPECT_FALSE(media.FocusLost());
  EXPECT_TRUE(media.KeyboardPushed(kKeyUp));
  EXPECT_TRUE(media.KeyWentDown(kKeyUp));
}

TEST(Pause, AFocusLineReadsWritesBackAndLetsTheScriptsKeysGo) {
  const auto parsed = ParseInputScript("3 down Up\n7 focus lost\n", "s");
  ASSERT_TRUE(std::holds_alternative<InputScript>(parsed));
  const InputScript& script = std::get<InputScript>(parsed);
  ASSERT_EQ(script.events.size(), 2u);
  EXPECT_EQ(InputEventLine(script.events[1]), "7 focus lost\n");
  ScriptedInput input(script.events);
  KeyStates keys{};
  EXPECT_FALSE(input.CaptureFocusLost(6));
  input.CaptureKeyboard(6, keys);
  EXPECT_TRUE(keys[kKeyUp]);
  EXPECT_TRUE(input.CaptureFocusLost(7));
  EXPECT_FALSE(input.CaptureFocusLost(7));  // told once
  input.CaptureKeyboard(7, keys);
  EXPECT_FALSE(keys[kKeyUp]);
  for (const char* bad : {"1 focus\n", "1 focus gained\n", "1 focus lost now\n"}) {
    const auto error = ParseInputScript(bad, "s");
    ASSERT_TRUE(std::holds_alternative<InputScriptError>(error)) << bad;
    EXPECT_NE(std::get<InputScriptError>(error).message.find("focus lost"), std::string::npos);
  }
}

}  // namespace
}  // namespace starvane
