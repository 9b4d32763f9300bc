#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/version.hpp"
#include "media/bmp.hpp"
#include "media/keyboard.hpp"
#include "media/keys.hpp"
#include "media/media.hpp"
#include "media/mouse.hpp"
#include "replay/input_events.hpp"
#include "replay/input_recorder.hpp"
#include "replay/input_script.hpp"
#include "replay/kept_recordings.hpp"
#include "replay/recording_result.hpp"
#include "replay/replay_list.hpp"
#include "replay/rules_generation.hpp"
#include "tests/support/harness.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;

KeyStates Down(std::initializer_list<int> keys) {
  KeyStates state{};
  for (int key : keys) state[static_cast<std::size_t>(key)] = 1;
  return state;
}

TEST(Keyboard, ReleasedReportsEachPressOnce) {
  Keyboard keyboard;
  const KeyStates up{};
  const KeyStates c_down = Down({kKeyC});
  keyboard.Examine(&c_down);
  EXPECT_EQ(keyboard.KeyboardReleased(kKeyC), 0);  // held
  EXPECT_EQ(keyboard.KeyboardReleased(kKeyC), 0);
  keyboard.Examine(&up);
  EXPECT_EQ(keyboard.KeyboardReleased(kKeyC), 1);  // let go
  EXPECT_EQ(keyboard.KeyboardReleased(kKeyC), 0);  // only once
  // Pressed and released between two calls: never seen down, never reported.
  keyboard.Examine(&c_down);
  keyboard.Examine(&up);
  EXPECT_EQ(keyboard.KeyboardReleased(kKeyC), 0);
  // The flag belongs to KeyboardReleased: KeyboardPushed does not set it.
  keyboard.Examine(&c_down);
  EXPECT_NE(keyboard.KeyboardPushed(kKeyC), 0);
  keyboard.Examine(&up);
  EXPECT_EQ(keyboard.KeyboardReleased(kKeyC), 0);
}

TEST(Keyboard, PushedAnyKeyAndAFailedCaptureKeepsTheLastState) {
  Keyboard keyboard;
  EXPECT_EQ(keyboard.KeyboardPushed(-1), 0);
  const KeyStates space = Down({kKeySpace});
  EXPECT_EQ(keyboard.Examine(&space), 1);
  EXPECT_EQ(keyboard.KeyboardPushed(-1), 1);
  EXPECT_EQ(keyboard.Examine(nullptr), 0);
  EXPECT_EQ(keyboard.KeyboardPushed(kKeySpace), 1);
  EXPECT_EQ(keyboard.KeyboardPushed(kKeyEscape), 0);
  EXPECT_EQ(keyboard.KeyboardPushed(256), 0);
  EXPECT_EQ(keyboard.KeyboardPushed(-2), 0);
  EXPECT_EQ(keyboard.KeyboardReleased(999), 0);
}

TEST(Mouse, PositionIsClampedToTheScreenInclusive) {
  Mouse mouse;
  EXPECT_EQ(mouse.MouseX(), 0);
  mouse.Examine({-50, 30, {true, false, false}});
  EXPECT_EQ(mouse.MouseX(), 0);
  EXPECT_EQ(mouse.MouseY(), 30);
  EXPECT_EQ(mouse.MouseButton(1), 1);
  EXPECT_EQ(mouse.MouseButton(2), 0);
  EXPECT_EQ(mouse.MouseButton(0), 0);
  EXPECT_EQ(mouse.MouseButton(4), 0);
  mouse.Examine({INT32_MAX, INT32_MAX, {}});
  EXPECT_EQ(mouse.MouseX(), 800);
  EXPECT_EQ(mouse.MouseY(), 600);
  mouse.Examine({-1, INT32_MIN, {}});
  EXPECT_EQ(mouse.MouseX(), 799);
  EXPECT_EQ(mouse.MouseY(), 0);
  EXPECT_EQ(mouse.MouseButton(1), 0);
}

TEST(Keys, NamesAndCodes) {
  EXPECT_EQ(KeyByName("Escape"), kKeyEscape);
  EXPECT_EQ(KeyByName("escape"), kKeyEscape);
  EXPECT_EQ(KeyByName("1"), kKey1);  // a digit names its key, not a code
  EXPECT_EQ(KeyByName("3"), kKey3);
  EXPECT_EQ(KeyByName("LeftControl"), kKeyLeftControl);
  EXPECT_EQ(KeyByName("Down"), kKeyDown);
  EXPECT_EQ(KeyByName("57"), kKeySpace);
  EXPECT_EQ(KeyByName("255"), 255);
  EXPECT_FALSE(KeyByName("256"));
  EXPECT_FALSE(KeyByName("-1"));
  EXPECT_FALSE(KeyByName("Esc"));
  EXPECT_FALSE(KeyByName(""));
  for (int code = 0; code < kKeyCount; ++code) EXPECT_EQ(KeyByName(KeyName(code)), code) << code;
  EXPECT_EQ(KeyName(0), "00");  // "0" is the 0 key
}

TEST(ScriptedInput, EventsActAfterTheirFrameHasCome) {
  InputEvent escape{3, InputEvent::Type::KeysDown, {kKeyEscape}};
  InputEvent move{3, InputEvent::Type::MouseMove, {}, 5, -2};
  InputEvent press{4, InputEvent::Type::ButtonPress, {}, 0, 0, 2};
  ScriptedInput input({escape, move, press});
  KeyStates keys{};
  input.CaptureKeyboard(2, keys);
  EXPECT_EQ(keys[kKeyEscape], 0);
  input.CaptureKeyboard(3, keys);
  EXPECT_EQ(keys[kKeyEscape], 1);
  const MouseInput first = input.CaptureMouse(3);  // movement waits for the mouse capture
  EXPECT_EQ(first.dx, 5);
  EXPECT_EQ(first.dy, -2);
  EXPECT_FALSE(first.buttons[1]);
  const MouseInput second = input.CaptureMouse(4);
  EXPECT_EQ(second.dx, 0);
  EXPECT_TRUE(second.buttons[1]);
}

// A recording without its version line: what the tests compare byte for byte, since the
// version changes with every commit and no replay depends on it.
std::string WithoutVersionLine(std::string text) {
  const std::size_t at = text.find("\nversion ");
  if (at == std::string::npos) return text;
  return text.erase(at + 1, text.find('\n', at + 1) - at);
}

std::string ParseError(std::string_view text) {
  const auto parsed = ParseInputScript(text, "s.txt");
  const auto* error = std::get_if<InputScriptError>(&parsed);
  return error ? error->message : "(accepted)";
}

TEST(InputScript, ReadsHeaderAndEvents) {
  const auto parsed = ParseInputScript(
      "# a game\r\nseed 99\ndifficulty hard\nship Blue Moon #2  \n\n0 down Up Space # thrust\n"
      "0 mouse -3 4\n5 press\n5 release 3\n12 up Up 57\n",
      "s.txt");
  ASSERT_TRUE(std::holds_alternative<InputScript>(parsed)) << ParseError("");
  const InputScript& script = std::get<InputScript>(parsed);
  EXPECT_EQ(*script.seed, 99u);
  EXPECT_EQ(*script.difficulty, 70.0f);
  EXPECT_EQ(*script.ship, "Blue Moon #2  ");  // a ship line has no comment, and keeps its spaces
  ASSERT_EQ(script.events.size(), 5u);
  EXPECT_EQ(script.events[0].keys, (std::vector<int>{kKeyUp, kKeySpace}));
  EXPECT_EQ(script.events[1].dx, -3);
  EXPECT_EQ(script.events[2].button, 1);
  EXPECT_EQ(script.events[3].button, 3);
  EXPECT_EQ(script.events[4].frame, 12);
  EXPECT_EQ(script.events[4].type, InputEvent::Type::KeysUp);
}

// A script written with CR LF line ends reads as the same script with LF ones, line for line.
TEST(InputScript, CrLfLineEndsReadAsLfOnes) {
  const std::string lf =
      "# a game\nseed 99\ndifficulty hard\nship Blue Moon\n\n0 down Up Space # thrust\n"
      "0 mouse -3 4\n5 press 3\n6 type ab\n7 wheel -2\n9 end frames\n";
  std::string crlf;
  for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  // The parsed script written out again, header, events and end.
  auto written = [](std::string_view text) {
    const auto parsed = ParseInputScript(text, "s.txt");
    if (const auto* error = std::get_if<InputScriptError>(&parsed)) return error->message;
    const InputScript& script = std::get<InputScript>(parsed);
    std::string lines = InputScriptHeader(*script.seed, *script.difficulty, *script.ship);
    for (const InputEvent& event : script.events) lines += InputEventLine(event);
    return lines + ScriptEndLine(*script.end);
  };
  EXPECT_EQ(written(crlf), written(lf));
  EXPECT_EQ(WithoutVersionLine(written(lf)),
            "# Starvane input recording: play it back with --headless --input FILE\n"
            "generation " +
                std::to_string(kRulesGeneration) +
                "\nseed 99\ndifficulty 70\nship Blue Moon\n0 down Up Space\n0 mouse -3 4\n"
                "5 press 3\n6 type ab\n7 wheel -2\n9 end frames\n");
}

TEST(InputScript, NamesTheFileAndLineOfEveryMistake) {
  EXPECT_EQ(ParseError("0 down Escape\n\n2 jump\n"),
            "s.txt:3: unknown event 'jump' (down, up, mouse, pointer, wheel, press, release, type, "
            "focus or end)");
  EXPECT_EQ(ParseError("5 down A\n4 up A\n"),
            "s.txt:2: frame 4 comes after frame 5: frame numbers never decrease");
  EXPECT_EQ(ParseError("1 down Esc\n"), "s.txt:1: unknown key 'Esc' (a key name or a code 0..255)");
  EXPECT_EQ(ParseError("1 down\n"), "s.txt:1: 'down' needs at least one key");
  EXPECT_EQ(ParseError("1 mouse 3\n"), "s.txt:1: 'mouse' needs two numbers, DX and DY");
  EXPECT_EQ(ParseError("1 mouse 3 x\n"), "s.txt:1: 'mouse' needs two whole numbers, not 'x'");
  EXPECT_EQ(ParseError("1 press 4\n"), "s.txt:1: unknown mouse button '4' (1, 2 or 3)");
  EXPECT_EQ(ParseError("-1 down A\n"), "s.txt:1: the frame number '-1' is negative");
  EXPECT_EQ(ParseError("99999999999999999999 down A\n"),
            "s.txt:1: '99999999999999999999' is not a frame number");
  EXPECT_EQ(ParseError("7\n"), "s.txt:1: an event is missing after the frame number");
  EXPECT_EQ(ParseError("difficulty medium\n"), "s.txt:1: 'medium' is not a difficulty");
  EXPECT_EQ(ParseError("seed\n"), "s.txt:1: 'seed' needs one value");
  EXPECT_EQ(ParseError("seed x\n"), "s.txt:1: the seed 'x' is not a whole number");
  EXPECT_EQ(ParseError("speed 3\n"),
            "s.txt:1: unknown line 'speed' (seed, difficulty, ship, launcher, generation, version, "
            "date, shipfile, held, result, or a frame number)");
  EXPECT_EQ(ParseError("0 down A\nseed 3\n"), "s.txt:2: 'seed' must come before the events");
  EXPECT_EQ(ParseError(""), "(accepted)");
  EXPECT_EQ(ParseError(std::string_view("0 down A\0B\n", 11)),
            "s.txt:1: unknown key 'A\\x00B' (a key name or a code 0..255)");
}

// A recording replays its game only under the rules it was played by: one of any other
// generation is refused, by name, rather than played as a different game.
TEST(InputScript, ARecordingOfAnotherRulesGenerationIsRefused) {
  const std::string ours = std::to_string(kRulesGeneration);
  EXPECT_EQ(ParseError("generation " + ours + "\nseed 3\n0 down A\n"), "(accepted)");
  const std::string newer = std::to_string(kRulesGeneration + 1);
  EXPECT_EQ(ParseError("seed 3\ngeneration " + newer + "\n0 down A\n"),
            "s.txt:2: the recording is of the game's rules generation " + newer +
                ", newer than this program's (" + ours + "): it needs a newer Starvane");
  const std::string older = std::to_string(kRulesGeneration - 1);
  EXPECT_EQ(ParseError("generation " + older + "\n"),
            "s.txt:1: the recording is of the game's rules generation " + older +
                ", which this program (generation " + ours +
                ") no longer plays: it needs the Starvane it was recorded with");
}

// Every recording names the program that made it. A replay reads the line but goes by the
// rules' generation alone: a recording from an older or newer build of the same rules plays.
TEST(InputScript, TheVersionLineNamesTheProgramAndIsNeverChecked) {
  const std::string version = "\nversion " + std::string(GameVersion()) + "\ngeneration ";
  EXPECT_NE(InputScriptHeader(1, 70, "A").find(version), std::string::npos);
  EXPECT_NE(InputScriptLauncherHeader(1).find(version), std::string::npos);
  EXPECT_EQ(ParseError("version 0.0.1-3-gabc1234-dirty\nseed 3\n0 down A\n"), "(accepted)");
  EXPECT_EQ(ParseError("version 99.0 (a newer build)\n"), "(accepted)");
  EXPECT_EQ(ParseError("version\n"), "s.txt:1: 'version' needs the program's version");
}

TEST(InputRecorder, WritesChangesThatParseBackToTheSameInput) {
  starvane::testing::TempDirectory dir;
  const auto path = dir.Path() / "rec.txt";
  auto recorder = InputRecorder::Create(path, InputScriptHeader(42, 0.2f, "Blue Moon"));
  ASSERT_NE(recorder, nullptr);
  recorder->NoteKeyboard(0, Down({}));
  recorder->NoteKeyboard(1, Down({kKeyUp, kKeySpace}));
  recorder->NoteKeyboard(2, Down({kKeyUp, kKeySpace}));
  recorder->NoteMouse(2, {7, -1, {true, false, false}});
  recorder->NoteKeyboard(3, Down({kKeySpace, kKeyEscape}));
  recorder->NoteMouse(3, {0, 0, {false, false, true}});
  ASSERT_TRUE(recorder->Finish());
  EXPECT_EQ(WithoutVersionLine(dir.Read("rec.txt")),
            "# Starvane input recording: play it back with --headless --input FILE\n"
            "generation " +
                std::to_string(kRulesGeneration) +
                "\nseed 42\ndifficulty 0.2\nship Blue Moon\n"
                "1 down Space Up\n2 mouse 7 -1\n2 press 1\n3 down Escape\n3 up Up\n"
                "3 release 1\n3 press 3\n");
  const auto parsed = ParseInputScript(dir.Read("rec.txt"), "rec.txt");
  ASSERT_TRUE(std::holds_alternative<InputScript>(parsed));
  const InputScript& script = std::get<InputScript>(parsed);
  EXPECT_EQ(*script.seed, 42u);
  EXPECT_EQ(*script.difficulty, 0.2f);
  EXPECT_EQ(*script.ship, "Blue Moon");
  EXPECT_EQ(script.events.size(), 7u);
  EXPECT_EQ(InputRecorder::Create(dir.Path() / "no" / "such.txt", ""), nullptr);
}

// A kept recording holds everything its replay needs: the ship file's bytes (any bytes), the keys
// held and the pointer at the start, the events counted from the game's start, and its result.
TEST(KeptRecording, ReadsBackItsHeaderShipFileHeldKeysAndResult) {
  const std::string ship_file("100\r\n\0\xff\r7", 9);
  KeptStart start{.seed = 77,
                  .difficulty = 10,
                  .ship = "Nova",
                  .date = "2026-12-10T13:40:05Z",
                  .ship_file = ship_file,
                  .held = {kKeyUp, kKeySpace},
                  .pointer_x = 12,
                  .pointer_y = 34};
  RecordingResult result{.frames = 40,
                         .money_start = 5,
                         .money_end = 900,
                         .kills = {1, 2, 3, 4, 5, 6},
                         .deaths = 7,
                         .frame_hash = 0x0123456789abcdefu};
  const std::string text =
      KeptRecordingHeader(start) + "3 up Up\n40 end closed\n" + ResultLine(result);
  EXPECT_NE(text.find("\nresult frames 40 moneyStart 5 moneyEnd 900 bigRocks 1 rocks 2 "
                      "littleRocks 3 fragments 4 crafts 5 glimmerhexes 6 deaths 7 frameHash "
                      "0123456789abcdef\n"),
            std::string::npos);
  const auto parsed = ParseInputScript(text, "k.txt");
  ASSERT_TRUE(std::holds_alternative<InputScript>(parsed)) << ParseError(text);
  const InputScript& script = std::get<InputScript>(parsed);
  EXPECT_EQ(script.date, "2026-12-10T13:40:05Z");
  EXPECT_EQ(script.ship_file, ship_file);
  EXPECT_EQ(script.held, (std::vector<int>{kKeyUp, kKeySpace}));
  ASSERT_EQ(script.events.size(), 2u);
  EXPECT_EQ(script.events[0].type, InputEvent::Type::Pointer);
  EXPECT_EQ(script.events[0].dx, 12);
  EXPECT_EQ(script.result, result);
  EXPECT_EQ(RecordingLength(script), 40);
  // Without a ship file the line stands alone; every length of bytes comes back.
  start.ship_file.reset();
  EXPECT_EQ(std::get<InputScript>(ParseInputScript(KeptRecordingHeader(start), "k")).ship_file, "");
  for (std::string bytes : {"a", "ab", "abc", "abcd"}) {
    start.ship_file = bytes;
    EXPECT_EQ(std::get<InputScript>(ParseInputScript(KeptRecordingHeader(start), "k")).ship_file,
              bytes);
  }
  // The length of a film without an end line: the result's frames, else the last event's.
  EXPECT_EQ(RecordingLength(
                std::get<InputScript>(ParseInputScript("9 up A\n" + ResultLine(result), "k"))),
            40);
  EXPECT_EQ(RecordingLength(std::get<InputScript>(ParseInputScript("9 up A\n", "k"))), 9);
}

TEST(KeptRecording, AShipFileOrAResultThatIsNotStrictIsRefusedByLine) {
  const std::string not_base64 = "s.txt:2: the ship file is not strict base64 of at most 64 KiB";
  for (const char* bad : {"QQ", "QR==", "Q===", "QQ=A", "QQ==QQ==", "Q Q==", "QQ-_", "QUJD\r\r"}) {
    EXPECT_EQ(
        ParseError(std::string("seed 1\nshipfile ") + bad + "\n"),
        bad == std::string_view("Q Q==") ? "s.txt:2: 'shipfile' takes one base64 text" : not_base64)
        << bad;
  }
  EXPECT_EQ(ParseError("shipfile " + std::string(87380, 'A') + "AA==\n"), "(accepted)");  // 64 KiB
  EXPECT_EQ(ParseError("seed 1\nshipfile " + std::string(87384, 'A') + "\n"), not_base64);
  EXPECT_EQ(ParseError("held\n"), "s.txt:1: 'held' needs at least one key");
  const std::string good =
      "result frames 4 moneyStart 0 moneyEnd 0 bigRocks 0 rocks 0 littleRocks 0 fragments 0 "
      "crafts 0 glimmerhexes 0 deaths 0 frameHash 00000000000000ff\n";
  EXPECT_EQ(ParseError("0 down A\n4 end closed\n" + good), "(accepted)");
  EXPECT_EQ(ParseError(good + "5 down A\n"), "s.txt:2: nothing may follow the 'result' line");
  EXPECT_EQ(ParseError(good + good), "s.txt:2: nothing may follow the 'result' line");
  auto edited = [&good](std::string_view from, std::string_view to) {
    std::string line = good;
    return line.replace(line.find(from), from.size(), to);
  };
  EXPECT_EQ(ParseError(edited("rocks 0 little", "rocks -1 little")),
            "s.txt:1: the rocks '-1' is not a whole number of 0 or more");
  EXPECT_EQ(ParseError(edited("deaths 0", "deaths x")),
            "s.txt:1: the deaths 'x' is not a whole number of 0 or more");
  EXPECT_EQ(ParseError(edited("00000000000000ff", "00000000000000FF")),
            "s.txt:1: the frameHash '00000000000000FF' is not 16 lowercase hex digits");
  EXPECT_EQ(ParseError(edited("bigRocks 0 rocks 0", "rocks 0 bigRocks 0")),
            "s.txt:1: 'result' names bigRocks where it has 'rocks'");
  EXPECT_EQ(ParseError(edited(" deaths 0", "")),
            "s.txt:1: 'result' needs its 11 names, each with its value, from frames to frameHash");
}

// A kept recording is written line by line as the game goes, so a crash cuts at most its last
// line: that part is dropped. A script without a shipfile line is read whole, as ever.
TEST(KeptRecording, ACutLastLineIsDroppedOnlyInAKeptRecording) {
  const auto kept = ParseInputScript("shipfile\n0 down A\n12 dow", "k.txt");
  ASSERT_TRUE(std::holds_alternative<InputScript>(kept));
  EXPECT_EQ(std::get<InputScript>(kept).events.size(), 1u);
  EXPECT_EQ(ParseError("0 down A\n12 dow"),
            "s.txt:2: unknown event 'dow' (down, up, mouse, pointer, wheel, press, release, type, "
            "focus or end)");
  EXPECT_EQ(std::get<InputScript>(ParseInputScript("shipfile\n0 down A\n", "k")).events.size(), 1u);
}

// The kept recorder counts its frames from the game's start, begins from the keys held then, and
// each line is in the file as soon as it is made (a game killed meanwhile leaves them).
TEST(KeptRecording, TheRecorderCountsFromTheGamesStartAndFlushesEveryLine) {
  starvane::testing::TempDirectory dir;
  auto recorder = InputRecorder::Create(dir.Path() / "k.txt", "shipfile\n", O_EXCL);
  ASSERT_NE(recorder, nullptr);
  recorder->StartAt(100, Down({kKeyUp}));
  recorder->NoteKeyboard(100, Down({kKeyUp}));
  recorder->NoteKeyboard(105, Down({kKeySpace}));
  EXPECT_EQ(dir.Read("k.txt"), "shipfile\n5 down Space\n5 up Up\n");  // before it is closed
  EXPECT_EQ(InputRecorder::Create(dir.Path() / "k.txt", "", O_EXCL), nullptr);  // never replaced
}

// Kept games are named after their start, numbered within a second, and only the newest of
// those names stay: other files of the folder are never removed.
TEST(KeptRecording, NamesTakeTheNextNumberAndOnlyTheOldestOfThePatternGo) {
  starvane::testing::TempDirectory dir;
  std::string why;
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(CreateKeptRecording(dir.Path(), "2026-12-10T13:40:05Z", "shipfile\n", why), nullptr)
        << why;
  }
  const auto replays = dir.Path() / "replays";
  for (const char* name :
       {"2026-12-10_13-40-05.txt", "2026-12-10_13-40-05_2.txt", "2026-12-10_13-40-05_3.txt"}) {
    EXPECT_TRUE(std::filesystem::exists(replays / name)) << name;
  }
  for (const char* other : {"2025-01-01_00-00-00_02.txt", "2025-01-01_00-00-00.txt.bak",
                            "notes.txt", "2025-01-01_00-00-00_1.txt"}) {
    dir.Write(std::string("replays/") + other, "");
    EXPECT_FALSE(IsKeptRecordingName(other)) << other;
  }
  dir.Write("replays/2025-01-01_00-00-00.txt", "");
  dir.Write("replays/2026-12-10_13-40-04_10.txt", "");
  RemoveOldKeptRecordings(replays, 3);
  EXPECT_FALSE(std::filesystem::exists(replays / "2025-01-01_00-00-00.txt"));
  EXPECT_FALSE(std::filesystem::exists(replays / "2026-12-10_13-40-04_10.txt"));
  EXPECT_TRUE(std::filesystem::exists(replays / "2026-12-10_13-40-05.txt"));
  EXPECT_TRUE(std::filesystem::exists(replays / "notes.txt"));
  EXPECT_TRUE(std::filesystem::exists(replays / "2025-01-01_00-00-00_02.txt"));
  // A folder that cannot be made keeps nothing, and says why.
  dir.Write("blocked", "");
  EXPECT_EQ(CreateKeptRecording(dir.Path() / "blocked", "2026-12-10T13:40:05Z", "", why), nullptr);
  EXPECT_FALSE(why.empty());
}

// The replay of a kept game begins as the game did after the launcher: the keys held then are
// held with no press seen, and the pointer is where it was, before any event moves it.
TEST(KeptRecording, AReplayBeginsWithTheHeldKeysAndThePointerOfTheGamesStart) {
  starvane::testing::TempDirectory dir;
  Media media(
      dir.Path(), nullptr,
      std::make_unique<ScriptedInput>(std::vector<InputEvent>{}, std::nullopt, Down({kKeyReturn})));
  media.BeginWith(Down({kKeyReturn}), {120, 80});
  media.ExamineKeyboard();
  EXPECT_TRUE(media.KeyboardPushed(kKeyReturn));
  EXPECT_FALSE(media.KeyWentDown(kKeyReturn));
  media.DiscardMouseMovement();
  EXPECT_EQ(media.MouseX(), 120);
  EXPECT_EQ(media.MouseY(), 80);
}

TEST(InputScript, AnEndLineEndsTheScriptAndNothingFollowsIt) {
  const auto parsed = ParseInputScript("0 down Up\n7 end frames\n", "s.txt");
  ASSERT_TRUE(std::holds_alternative<InputScript>(parsed));
  const InputScript& script = std::get<InputScript>(parsed);
  ASSERT_TRUE(script.end);
  EXPECT_EQ(script.end->frame, 7);
  EXPECT_EQ(script.end->reason, LoopEnd::FrameLimit);
  EXPECT_EQ(std::get<InputScript>(ParseInputScript("3 end closed", "s.txt")).end->reason,
            LoopEnd::Closed);
  EXPECT_EQ(ParseError("3 end\n"), "s.txt:1: 'end' needs how the game ended: frames or closed");
  EXPECT_EQ(ParseError("3 end escape\n"),
            "s.txt:1: 'end' needs how the game ended: frames or closed");
  EXPECT_EQ(ParseError("3 end closed\n3 down A\n"), "s.txt:2: nothing may follow the 'end' line");
  EXPECT_EQ(ParseError("3 end closed\n4 end closed\n"),
            "s.txt:2: nothing may follow the 'end' line");
  EXPECT_EQ(ParseError("5 down A\n4 end frames\n"),
            "s.txt:2: frame 4 comes after frame 5: frame numbers never decrease");
  EXPECT_EQ(ParseError("3 end closed\nseed 4\n"), "s.txt:2: 'seed' must come before the events");
}

TEST(InputScript, TheHeaderKeepsTheShipNameByteForByte) {
  for (const std::string ship : {" Blue  Moon ", "#1 ", "a#b", "\xC3\xA9t\xC3\xA9", "", "../x"}) {
    const auto parsed = ParseInputScript(InputScriptHeader(5, 150, ship), "h.txt");
    ASSERT_TRUE(std::holds_alternative<InputScript>(parsed)) << ship;
    const InputScript& script = std::get<InputScript>(parsed);
    EXPECT_EQ(*script.ship, ship);
    EXPECT_EQ(*script.seed, 5u);
    EXPECT_EQ(*script.difficulty, 150.0f);
    EXPECT_FALSE(script.launcher);
  }
}

TEST(InputScript, ALauncherRecordingSaysSoInsteadOfTheShipAndDifficulty) {
  const auto parsed = ParseInputScript(InputScriptLauncherHeader(9), "h.txt");
  ASSERT_TRUE(std::holds_alternative<InputScript>(parsed));
  const InputScript& script = std::get<InputScript>(parsed);
  EXPECT_TRUE(script.launcher);
  EXPECT_EQ(*script.seed, 9u);
  EXPECT_FALSE(script.difficulty);
  EXPECT_FALSE(script.ship);
  EXPECT_EQ(ParseError("launcher now\n"), "s.txt:1: 'launcher' takes no value");
  // One CR ends a CR LF line; a second one would be part of the name, which no recording could
  // write back the same.
  EXPECT_EQ(ParseError("ship A\r\r\n"), "s.txt:1: a ship name cannot hold a line end");
}

// The text typed among the key events.
std::string TypedIn(const KeyEvents& events) {
  std::string typed;
  for (const KeyEvent& event : events) typed += event.text;
  return typed;
}

// The key events as "+Key", "-Key" and "'text'", in order.
std::string Described(const KeyEvents& events) {
  std::string out;
  for (const KeyEvent& event : events) {
    if (!out.empty()) out += ' ';
    out += event.kind == KeyEvent::Kind::Text
               ? "'" + event.text + "'"
               : (event.kind == KeyEvent::Kind::Down ? "+" : "-") + std::string(KeyName(event.key));
  }
  return out;
}

TEST(InputScript, KeyEventsWithinAFrameAreRecordedAndReplayedInTheirOrder) {
  starvane::testing::TempDirectory dir;
  auto recorder = InputRecorder::Create(dir.Path() / "rec.txt", "");
  ASSERT_NE(recorder, nullptr);
  KeyEvents quick;
  for (int i = 0; i < 2; ++i) {
    quick.push_back({KeyEvent::Kind::Down, kKeyBackspace});
    quick.push_back({KeyEvent::Kind::Up, kKeyBackspace});
  }
  quick.push_back({KeyEvent::Kind::Text, 0, "ab"});
  quick.push_back({KeyEvent::Kind::Down, kKeyReturn});
  quick.push_back({KeyEvent::Kind::Down, kKeyReturn});  // held: the system repeats it
  quick.push_back({KeyEvent::Kind::Up, kKeyReturn});
  quick.push_back({KeyEvent::Kind::Text, 0, "c"});
  recorder->NoteKeyEvents(5, quick);
  ASSERT_TRUE(recorder->Finish());
  EXPECT_EQ(dir.Read("rec.txt"),
            "5 down Backspace\n5 up Backspace\n5 down Backspace\n5 up Backspace\n5 type ab\n"
            "5 down Return Return\n5 up Return\n5 type c\n");

  const auto parsed = ParseInputScript(dir.Read("rec.txt"), "rec.txt");
  ASSERT_TRUE(std::holds_alternative<InputScript>(parsed));
  ScriptedInput input(std::get<InputScript>(parsed).events);
  EXPECT_EQ(Described(input.CaptureKeyEvents(5)), Described(quick));
  KeyStates keys{};
  input.CaptureKeyboard(5, keys);
  EXPECT_EQ(keys[kKeyBackspace] + keys[kKeyReturn], 0);  // all of them are up again
}

TEST(InputScript, KeyEventsAreMatchedToTheKeyStatesTheyLeadTo) {
  KeyStates before{};
  before[kKeyUp] = 1;
  KeyStates after{};
  after[kKeySpace] = 1;
  after[kKeyA] = 1;
  // A release of a key that is up goes; the keys that changed without events get theirs at the
  // end, the presses first.
  const KeyEvents matched = MatchKeyEvents({{KeyEvent::Kind::Up, kKeyB},
                                            {KeyEvent::Kind::Text, 0, "x"},
                                            {KeyEvent::Kind::Down, kKeyA},
                                            {KeyEvent::Kind::Text, 0, ""}},
                                           before, after);
  EXPECT_EQ(Described(matched), "'x' +A +Space -Up");
}

TEST(InputScript, PointerWheelAndTypedTextReadBackAsRecorded) {
  starvane::testing::TempDirectory dir;
  auto recorder = InputRecorder::Create(dir.Path() / "rec.txt", "");
  ASSERT_NE(recorder, nullptr);
  MouseInput put;
  put.pointer = PointerPosition{120, 45};
  put.dx = 3;
  put.wheel = -2;
  recorder->NoteMouse(4, put);
  recorder->NoteText(5, "a # b \r\n");  // line ends cannot stand in a line
  recorder->NoteText(6, "\r");          // nothing but a line end: no event, no empty line
  recorder->NoteText(7, "x\ry");
  ASSERT_TRUE(recorder->Finish());
  EXPECT_EQ(dir.Read("rec.txt"),
            "4 pointer 120 45\n4 wheel -2\n4 mouse 3 0\n5 type a # b \n7 type xy\n");

  const auto parsed = ParseInputScript(dir.Read("rec.txt"), "rec.txt");
  ASSERT_TRUE(std::holds_alternative<InputScript>(parsed));
  ScriptedInput input(std::get<InputScript>(parsed).events);
  EXPECT_EQ(TypedIn(input.CaptureKeyEvents(4)), "");
  const MouseInput at4 = input.CaptureMouse(4);
  ASSERT_TRUE(at4.pointer);
  EXPECT_EQ(*at4.pointer, (PointerPosition{120, 45}));
  EXPECT_EQ(at4.dx, 3);
  EXPECT_EQ(at4.wheel, -2);
  const MouseInput at5 = input.CaptureMouse(5);  // each capture takes them once
  EXPECT_FALSE(at5.pointer);
  EXPECT_EQ(at5.wheel, 0);
  EXPECT_EQ(TypedIn(input.CaptureKeyEvents(5)), "a # b ");
  // A carriage return inside a hand-written text is dropped on reading as on writing, so the
  // script and its rewriting type the same.
  const auto hand = ParseInputScript("1 type x\ry\n", "hand.txt");
  ASSERT_TRUE(std::holds_alternative<InputScript>(hand));
  EXPECT_EQ(std::get<InputScript>(hand).events[0].text, "xy");
  EXPECT_EQ(TypedIn(input.CaptureKeyEvents(6)), "");

  // The mouse puts the position first, then adds the movement, clamped to the screen.
  Mouse mouse;
  mouse.Examine(at4);
  EXPECT_EQ(mouse.MouseX(), 123);
  EXPECT_EQ(mouse.MouseY(), 45);
  EXPECT_EQ(mouse.MouseWheel(), -2);
  MouseInput far;
  far.pointer = PointerPosition{-5, 9000};
  mouse.Examine(far);
  EXPECT_EQ(mouse.MouseX(), 0);
  EXPECT_EQ(mouse.MouseY(), 600);
  EXPECT_EQ(mouse.MouseWheel(), 0);

  EXPECT_EQ(ParseError("0 type\n"), "s.txt:1: 'type' needs the text typed");
  EXPECT_EQ(ParseError("0 pointer 1\n"), "s.txt:1: 'pointer' needs two numbers, X and Y");
  EXPECT_EQ(ParseError("0 wheel x\n"), "s.txt:1: 'wheel' needs one whole number of steps");
}

TEST(InputScript, ADirectoryOrAMissingFileIsNoScript) {
  starvane::testing::TempDirectory dir;
  const auto directory = LoadInputScript(dir.Path().string());
  ASSERT_TRUE(std::holds_alternative<InputScriptError>(directory));
  EXPECT_EQ(std::get<InputScriptError>(directory).message,
            dir.Path().string() + ": is a directory, not an input script");
  EXPECT_TRUE(std::holds_alternative<InputScriptError>(
      LoadInputScript((dir.Path() / "none.txt").string())));
}

// A kept recording's first lines, as the game writes them, before its events.
constexpr std::string_view kKeptHead =
    "# Starvane recording\nversion 1.2.3\ngeneration 1\ndate 2026-12-10T13:40:05Z\n"
    "seed 7\ndifficulty normal\nship My Ship # one\nshipfile QUJD\nheld Space\n0 pointer 1 2\n";

TEST(ReplayList, ASummaryTakesTheHeaderAndTheLastLinesAndDropsACutOne) {
  const std::string events = "5 down Space\n120 up Space\n";
  const std::string result =
      "result frames 3001 moneyStart 100 moneyEnd 350 bigRocks 1 rocks 0 littleRocks 0 "
      "fragments 0 crafts 0 glimmerhexes 0 deaths 0 frameHash 0123456789abcdef\n";
  const std::string whole = std::string(kKeptHead) + events + "3000 end closed\n" + result;
  const ReplaySummary kept = SummarizeReplay(whole, whole);
  EXPECT_FALSE(kept.damaged);
  EXPECT_EQ(kept.length, 3000);  // the end line wins over the result's frames
  EXPECT_EQ(ReplayListRow(kept, 3600), "2026-12-10 14:40  My Ship #   Normal       1:00  +250");
  // No end line: the result's frames. Neither: the last event's; no result: no money.
  EXPECT_EQ(SummarizeReplay(kKeptHead, events + result).length, 3001);
  const ReplaySummary cut = SummarizeReplay(kKeptHead, events + "130 up Spa");
  EXPECT_EQ(cut.length, 120);
  EXPECT_EQ(ReplayListRow(cut, -3600), "2026-12-10 12:40  My Ship #   Normal       0:02  ?");
  // No ship or difficulty line, or bytes that are no text: damaged, listed by its date alone.
  const std::string no_ship = "date 2026-12-10T13:40:05Z\ndifficulty easy\n0 down A\n";
  EXPECT_EQ(ReplayListRow(SummarizeReplay(no_ship, no_ship), 0), "2026-12-10 13:40  damaged");
  const std::string binary = std::string(kKeptHead) + std::string("\0\x01", 2) + "\n";
  EXPECT_TRUE(SummarizeReplay(binary, binary).damaged);
}

TEST(ReplayList, TheNewestFiftyKeptNamesAreListedNewestFirstAndHostileFilesAsDamaged) {
  starvane::testing::TempDirectory replays;
  const std::string game = std::string(kKeptHead) + "50 end closed\n";
  for (int minute = 0; minute < 52; ++minute) {
    const std::string two = (minute < 10 ? "0" : "") + std::to_string(minute);
    replays.Write("2026-12-09_10-" + two + "-00.txt", game);
  }
  // Two more games of the newest second, a line of 300 KB without an end, a folder and names
  // of no kept recording.
  replays.Write("2026-12-10_08-00-00.txt", std::string(300'000, 'x'));
  replays.Write("2026-12-10_08-00-00_2.txt", game);
  replays.Write("2026-12-10_08-00-00_10.txt", game);
  std::filesystem::create_directory(replays.Path() / "2026-12-10_07-00-00.txt");
  for (const char* other : {"notes.txt", "2026-12-10_09-00-00_1.txt", "2026-12-10_09-00-00"}) {
    replays.Write(other, game);
  }
  const std::vector<ReplayListing> listed = ListReplays(replays.Path());
  ASSERT_EQ(listed.size(), kMostListedReplays);
  const auto name = [&](std::size_t i) { return listed[i].path.filename().string(); };
  EXPECT_EQ(name(0), "2026-12-10_08-00-00_10.txt");
  EXPECT_EQ(name(1), "2026-12-10_08-00-00_2.txt");
  EXPECT_EQ(name(2), "2026-12-10_08-00-00.txt");
  EXPECT_EQ(name(3), "2026-12-10_07-00-00.txt");
  EXPECT_EQ(name(4), "2026-12-09_10-51-00.txt");
  EXPECT_EQ(name(49), "2026-12-09_10-06-00.txt");
  EXPECT_FALSE(listed[1].summary.damaged);
  EXPECT_EQ(listed[1].summary.length, 50);
  EXPECT_TRUE(listed[2].summary.damaged);
  EXPECT_TRUE(listed[3].summary.damaged);
  EXPECT_EQ(ReplayListRow(listed[3].summary, 0), "2026-12-10 07:00  damaged");
  EXPECT_TRUE(ListReplays(replays.Path() / "none").empty());
}

TEST(InputRecorder, EndsWithHowTheGameEndedUnlessByEscapeAndWritesKeyCodeZero) {
  starvane::testing::TempDirectory dir;
  for (const LoopEnd end : {LoopEnd::FrameLimit, LoopEnd::Closed, LoopEnd::Escape}) {
    auto recorder = InputRecorder::Create(dir.Path() / "rec.txt", "");
    ASSERT_NE(recorder, nullptr);
    recorder->NoteKeyboard(2, Down({0, kKeyUp}));
    recorder->NoteEnd(9, end);
    ASSERT_TRUE(recorder->Finish());
    const std::string text = dir.Read("rec.txt");
    EXPECT_EQ(text, std::string("2 down 00 Up\n") + (end == LoopEnd::FrameLimit ? "9 end frames\n"
                                                     : end == LoopEnd::Closed   ? "9 end closed\n"
                                                                                : ""));
    const auto parsed = ParseInputScript(text, "rec.txt");
    ASSERT_TRUE(std::holds_alternative<InputScript>(parsed));
    const InputScript& script = std::get<InputScript>(parsed);
    EXPECT_EQ(script.events.at(0).keys, (std::vector<int>{0, kKeyUp}));
    EXPECT_EQ(script.end.has_value(), end != LoopEnd::Escape);
    if (script.end) {
      EXPECT_EQ(script.end->reason, end);
    }
  }
}

// Presents frames until the media layer says the game ends; returns the end.
std::optional<LoopEnd> PresentFrames(Media& media, int most_frames) {
  for (int i = 0; i < most_frames; ++i) {
    if (auto end = media.ShouldEnd()) return end;
    media.ExamineKeyboard();
    media.FlipBuffers();
  }
  return {};
}

TEST(Media, AScriptsEndLineEndsTheGameBeforeThatFrameUnlessTheFrameLimitComesFirst) {
  Harness closed({.script = "0 down Up\n5 end closed\n"});
  EXPECT_EQ(PresentFrames(closed.media, 100), LoopEnd::Closed);
  EXPECT_EQ(closed.media.FramesPresented(), 5);
  Harness frames({.script = "5 end frames\n"});
  EXPECT_EQ(PresentFrames(frames.media, 100), LoopEnd::FrameLimit);
  Harness limited({.script = "5 end closed\n"});
  limited.media.SetFrameLimit(3);
  EXPECT_EQ(PresentFrames(limited.media, 100), LoopEnd::FrameLimit);
  EXPECT_EQ(limited.media.FramesPresented(), 3);
  Harness endless({.script = "0 down Up\n"});
  EXPECT_EQ(PresentFrames(endless.media, 50), std::nullopt);
}

TEST(Media, F12WritesTheNextFrameUnderTheFirstFreeNameOncePerPress) {
  // F12 held for two frames is one screenshot; a second press is the next.
  Harness t({.script = "1 down F12\n3 up F12\n4 down F12\n"});
  t.files.Write("starvane-001.bmp", "taken");
  Canvas& screen = t.media.Screen;
  for (int frame = 0; frame < 6; ++frame) {
    screen.ClearScreen(frame * 40, 0, 0);  // each frame its own colour
    t.media.ExamineKeyboard();
    t.media.FlipBuffers();
  }
  EXPECT_EQ(t.files.Read("starvane-001.bmp"), "taken");
  const std::string second = t.files.Read("starvane-002.bmp");
  const std::string third = t.files.Read("starvane-003.bmp");
  ASSERT_EQ(second.size(), 54u + 800u * 600u * 3u);
  EXPECT_EQ(static_cast<unsigned char>(second[56]), 41);  // red 40 kept as 5 of 31, widened back
  ASSERT_EQ(third.size(), second.size());
  EXPECT_EQ(static_cast<unsigned char>(third[56]), 165);
  EXPECT_FALSE(std::filesystem::exists(t.files.Path() / "starvane-004.bmp"));
}

// F12 takes the first free name, never overwrites a file and never follows a link out of the
// files directory; a screenshot that cannot be written leaves no file behind.
TEST(Media, ScreenshotsTakeFreeNamesOnlyAndLeaveNothingOnFailure) {
  starvane::testing::TempDirectory dir;
  starvane::testing::TempDirectory outside;
  Canvas canvas;
  std::string why;
  EXPECT_EQ(WriteNewScreenshot(dir.Path(), canvas, why), dir.Path() / "starvane-001.bmp");
  dir.Write("starvane-003.bmp", "mine");
#ifndef _WIN32  // no symbolic links for a plain user on Windows
  // A link to a file outside, even one that does not exist yet, is a taken name.
  std::filesystem::create_symlink(outside.Path() / "target.bmp", dir.Path() / "starvane-002.bmp");
  EXPECT_EQ(WriteNewScreenshot(dir.Path(), canvas, why), dir.Path() / "starvane-004.bmp");
  EXPECT_FALSE(std::filesystem::exists(outside.Path() / "target.bmp"));
#else
  dir.Write("starvane-002.bmp", "");
  EXPECT_EQ(WriteNewScreenshot(dir.Path(), canvas, why), dir.Path() / "starvane-004.bmp");
#endif
  EXPECT_EQ(dir.Read("starvane-003.bmp"), "mine");
  for (int n = 5; n <= kMostScreenshots; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "starvane-%03d.bmp", n);
    dir.Write(name, "");
  }
  EXPECT_EQ(WriteNewScreenshot(dir.Path(), canvas, why), std::filesystem::path());
  EXPECT_NE(why.find("all taken"), std::string::npos);

  // /dev/full takes the open but no byte: the stump is removed and the reason given.
  if (std::filesystem::exists("/dev/full")) {
    const auto full = dir.Path() / "full.bmp";
    std::filesystem::create_symlink("/dev/full", full);
    EXPECT_FALSE(WriteBmp(full, canvas, why));
    EXPECT_EQ(why, "No space left on device");
  }
  EXPECT_FALSE(WriteBmp(dir.Path() / "no" / "such.bmp", canvas, why));
  EXPECT_EQ(why, "No such file or directory");
}

TEST(ShortcutKeys, ATakenKeyIsHiddenUntilReleased) {
  ShortcutKeys shortcut;
  KeyStates keys = Down({kKeyReturn, kKeyUp});
  shortcut.HideFrom(keys);
  EXPECT_EQ(keys, Down({kKeyReturn, kKeyUp}));
  shortcut.Take(kKeyReturn);
  shortcut.Take(-1);   // ignored
  shortcut.Take(256);  // ignored
  shortcut.HideFrom(keys);
  EXPECT_EQ(keys, Down({kKeyUp}));
  shortcut.Release(kKeyReturn);
  keys = Down({kKeyReturn});
  shortcut.HideFrom(keys);
  EXPECT_EQ(keys, Down({kKeyReturn}));
}

}  // namespace
}  // namespace starvane
