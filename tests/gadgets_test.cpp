// The launcher's gadgets, worked one examination of the keyboard and mouse at a time: text
// editing, the drop-down list, clicks, the close box, and a few pixels of how they look.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "gadgets/windows.hpp"
#include "media/media.hpp"
#include "tests/support/temp_directory.hpp"

namespace starvane {
namespace {

struct Desk {
  Desk() {
    windows.OpenWindow(0, 400, 150, "Starvane");
    windows.CreateGadgetList(0);
  }
  // One examination with this text typed, then these keys held (their presses and releases).
  void Keys(std::initializer_list<int> held, const std::string& typed = "") {
    KeyStates now{};
    for (int key : held) now[static_cast<std::size_t>(key)] = 1;
    input.key_events.clear();
    if (!typed.empty()) input.key_events.push_back({KeyEvent::Kind::Text, 0, typed});
    input.key_events = MatchKeyEvents(input.key_events, held_, now);
    held_ = now;
    windows.Examine(input);
    input.key_events.clear();
  }
  // One examination with exactly these events.
  void Events(const KeyEvents& events) {
    input.key_events = events;
    windows.Examine(input);
    input.key_events.clear();
  }
  KeyStates held_{};
  void Tap(int key) {
    Keys({key});
    Keys({});
  }
  void Click(int x, int y) {
    input.pointer_x = x;
    input.pointer_y = y;
    input.button = true;
    windows.Examine(input);
    input.button = false;
    windows.Examine(input);
  }
  // The events queued so far, as codes with their gadgets ("13100:9"), taken off the queue.
  std::vector<std::string> Events() {
    std::vector<std::string> events;
    while (windows.HasEvent()) {
      const int code = windows.WaitWindowEvent();
      events.push_back(std::to_string(code) +
                       (code == kGadgetEvent ? ":" + std::to_string(windows.EventGadgetID()) : ""));
    }
    return events;
  }

  starvane::testing::TempDirectory files;
  Media media{files.Path()};
  Windows windows{media};
  WindowInput input;
};

TEST(Gadgets, ATextFieldEditsAtItsCursorAndRejectsControlCharacters) {
  Desk desk;
  desk.windows.StringGadget(9, 20, 10, 100, 20, "SHIPNAME");  // focused, cursor at the end
  desk.Keys({}, "X\n\ty\x7F");                                // a paste with a line end
  EXPECT_EQ(desk.windows.GetGadgetText(9), "SHIPNAMEXy");
  desk.Tap(kKeyHome);
  desk.Tap(kKeyDelete);
  desk.Tap(kKeyRight);
  desk.Keys({}, "-");
  desk.Tap(kKeyEnd);
  desk.Tap(kKeyBackspace);
  desk.Tap(kKeyLeft);
  desk.Tap(kKeyBackspace);
  EXPECT_EQ(desk.windows.GetGadgetText(9), "H-IPNAMX");
  desk.Keys({}, "\r\n");  // nothing typed that a name can hold: no change, no event
  // One gadget event for each change of the text, none for moving the cursor.
  EXPECT_EQ(desk.Events(),
            (std::vector<std::string>{"13100:9", "13100:9", "13100:9", "13100:9", "13100:9"}));
}

TEST(Gadgets, ATextFieldEditsWholeUtf8CharactersUpToItsLimit) {
  Desk desk;
  desk.windows.StringGadget(9, 20, 10, 100, 20, "");
  desk.windows.SetGadgetMaxLength(9, 6);
  desk.Keys({}, "N\xC3\xB6\xF6va\xC2\x85");  // a stray byte and a C1 control are dropped
  EXPECT_EQ(desk.windows.GetGadgetText(9), "N\xC3\xB6va");
  desk.Tap(kKeyLeft);
  desk.Tap(kKeyLeft);
  desk.Tap(kKeyBackspace);  // the whole o with diaeresis
  EXPECT_EQ(desk.windows.GetGadgetText(9), "Nva");
  desk.Keys({}, "\xE2\x82\xAC");
  desk.Tap(kKeyLeft);
  desk.Tap(kKeyDelete);
  EXPECT_EQ(desk.windows.GetGadgetText(9), "Nva");
  desk.Tap(kKeyRight);
  desk.Keys({}, "\xF0\x9F\x9A\x80\xC3\xA4\xC3\xA5\xC3\xA6");  // only three fit
  EXPECT_EQ(desk.windows.GetGadgetText(9),
            "Nv\xF0\x9F\x9A\x80\xC3\xA4\xC3\xA5"
            "a");
  desk.Keys({}, "x");
  EXPECT_EQ(desk.windows.GetGadgetText(9),
            "Nv\xF0\x9F\x9A\x80\xC3\xA4\xC3\xA5"
            "a");
}

TEST(Gadgets, AUtf8TextTakesACellACharacterWithTheCursorAfterIt) {
  Desk desk;
  desk.windows.StringGadget(9, 20, 10, 100, 20, "\xC3\xB6\xC3\xB6\xC3\xB6\xC3\xB6");
  Canvas& canvas = desk.media.Screen;
  canvas.StartDrawing();
  desk.windows.Draw(canvas);
  // Four cells from 3 pixels in from the field's edge, the cursor line right after them, and
  // nothing further to the right.
  const int cursor_x = 20 + 3 + 4 * kGadgetFontWidth;
  EXPECT_EQ(canvas.Pixel(cursor_x, 16), ScreenColor(0, 0, 0));
  for (int x = cursor_x + 1; x < 20 + 99; ++x) {
    for (int y = 12; y < 28; ++y) ASSERT_EQ(canvas.Pixel(x, y), ScreenColor(255, 255, 255)) << x;
  }
}

TEST(Gadgets, ASelectionIsReplacedByTypingAndShiftOrCtrlASelect) {
  Desk desk;
  desk.windows.StringGadget(9, 20, 10, 100, 20, "SHIPNAME");
  desk.windows.SelectGadgetText(9);  // as the New Ship dialog opens
  Canvas canvas;
  desk.windows.Draw(canvas);
  EXPECT_EQ(canvas.Pixel(24, 14), ScreenColor(0, 0, 128));  // shown selected
  desk.Keys({}, "Nova");
  EXPECT_EQ(desk.windows.GetGadgetText(9), "Nova");
  desk.Keys({kKeyLeftShift, kKeyLeft});
  desk.Keys({kKeyLeftShift});
  desk.Keys({kKeyLeftShift, kKeyLeft});  // "va" selected
  desk.Keys({});
  desk.Tap(kKeyBackspace);
  EXPECT_EQ(desk.windows.GetGadgetText(9), "No");
  desk.Tap(kKeyLeft);
  desk.Keys({kKeyRightShift, kKeyEnd});
  desk.Keys({}, "w");
  EXPECT_EQ(desk.windows.GetGadgetText(9), "Nw");
  desk.Keys({kKeyLeftControl, kKeyA});
  desk.Keys({});
  desk.Tap(kKeyDelete);
  EXPECT_EQ(desk.windows.GetGadgetText(9), "");
}

TEST(Gadgets, AClickOnACharactersRightHalfPutsTheCursorAfterIt) {
  Desk desk;
  desk.windows.StringGadget(9, 20, 10, 100, 20, "SHIPNAME");
  desk.Click(20 + 3 + 2 * kGadgetFontWidth + 3, 20);  // the right half of the "I"
  desk.Keys({}, "x");
  desk.Click(20 + 3 + 6 * kGadgetFontWidth + 2, 20);  // the left half of the "A"
  desk.Keys({}, "y");
  EXPECT_EQ(desk.windows.GetGadgetText(9), "SHIxPNyAME");
}

TEST(Gadgets, AFullFieldKeepsItsCursorInTheFreeCellNotInThePadding) {
  Desk desk;
  desk.windows.StringGadget(9, 20, 10, 100, 20, "");
  desk.windows.SetGadgetMaxLength(9, 15);  // as many as the field has cells
  desk.Keys({}, std::string(20, 'W'));
  Canvas canvas;
  desk.windows.Draw(canvas);
  const int cursor_x = 20 + 3 + 14 * kGadgetFontWidth;
  EXPECT_EQ(canvas.Pixel(cursor_x, 12), ScreenColor(0, 0, 0));
  for (int x = cursor_x + 1; x < 20 + 99; ++x) {
    for (int y = 12; y < 28; ++y) ASSERT_EQ(canvas.Pixel(x, y), ScreenColor(255, 255, 255)) << x;
  }
}

TEST(Gadgets, AHeldKeyActsAtEachPressTheSystemRepeatsButEnterAndEscapeOnlyOnce) {
  Desk desk;
  desk.windows.StringGadget(9, 20, 10, 100, 20, std::string(40, 'a'));
  desk.windows.SetDefaultButton(8);
  for (int frame = 0; frame < 32; ++frame) desk.Keys({kKeyBackspace});  // held: one press
  EXPECT_EQ(desk.windows.GetGadgetText(9).size(), 39u);
  const KeyEvent again{KeyEvent::Kind::Down, kKeyBackspace};
  desk.Events({again, again, again});  // the system repeats it
  EXPECT_EQ(desk.windows.GetGadgetText(9).size(), 36u);
  const KeyEvent enter{KeyEvent::Kind::Down, kKeyReturn};
  const KeyEvent escape{KeyEvent::Kind::Down, kKeyEscape};
  desk.Events({enter, enter, escape, escape});
  EXPECT_EQ(desk.Events(),
            (std::vector<std::string>{"13100:9", "13100:9", "13100:9", "13100:9", "13100:8"}));
  desk.Events(KeyEvents{});  // the next examination: the keys after the click go on
  EXPECT_EQ(desk.Events(), (std::vector<std::string>{"16"}));
}

TEST(Gadgets, QuickKeysWithinOneExaminationActOnceEachInOrderWithTheTypedText) {
  Desk desk;
  desk.windows.OpenWindow(1, 150, 80, "New Ship");
  desk.windows.ButtonGadget(8, 45, 45, 50, 20, "OK");
  desk.windows.StringGadget(9, 20, 10, 100, 20, "SHIPNAME");
  desk.windows.SetDefaultButton(8);
  KeyEvents quick;
  auto tap = [&](int key) {
    quick.push_back({KeyEvent::Kind::Down, key});
    quick.push_back({KeyEvent::Kind::Up, key});
  };
  for (int i = 0; i < 9; ++i) tap(kKeyBackspace);  // the ninth finds the field empty
  quick.push_back({KeyEvent::Kind::Text, 0, "Na"});
  tap(kKeyLeft);
  quick.push_back({KeyEvent::Kind::Text, 0, "ov"});
  tap(kKeyReturn);
  quick.push_back({KeyEvent::Kind::Text, 0, "zz"});  // after the click: for what comes next
  desk.Events(quick);
  // The field's changes, then the click, with the text as it was at the click.
  std::vector<std::string> events;
  while (desk.windows.HasEvent()) {
    const int code = desk.windows.WaitWindowEvent();
    events.push_back(std::to_string(code) + ":" + std::to_string(desk.windows.EventGadgetID()));
  }
  std::vector<std::string> expected(10, "13100:9");  // eight erasures and two insertions
  expected.push_back("13100:8");
  EXPECT_EQ(events, expected);
  EXPECT_EQ(desk.windows.GetGadgetText(9), "Nova");
  // The keys after the click go on once it was taken.
  desk.media.SetFrameLimit(0);
  desk.windows.WaitWindowEvent();
  EXPECT_EQ(desk.windows.GetGadgetText(9), "Novzza");  // typed at the cursor
}

TEST(Gadgets, ALongTextScrollsSoTheCursorStaysInTheField) {
  Desk desk;
  desk.windows.StringGadget(9, 20, 10, 100, 20, "");
  desk.Keys({}, std::string(30, 'w'));
  // The field shows fifteen cells; the last is kept for the cursor.
  Canvas canvas;
  desk.windows.Draw(canvas);
  const int cursor_x = 20 + 3 + 14 * kGadgetFontWidth;
  EXPECT_EQ(canvas.Pixel(cursor_x, 20), ScreenColor(0, 0, 0));
  desk.Tap(kKeyHome);
  Canvas home;
  desk.windows.Draw(home);
  EXPECT_EQ(home.Pixel(23, 20), ScreenColor(0, 0, 0));  // the cursor before the first cell
}

TEST(Gadgets, AButtonClicksOnlyWhenReleasedOnIt) {
  Desk desk;
  desk.windows.ButtonGadget(1, 50, 55, 50, 20, "Easy");
  desk.Click(75, 65);
  desk.input.pointer_x = 75;
  desk.input.pointer_y = 65;
  desk.input.button = true;
  desk.windows.Examine(desk.input);
  desk.input.pointer_y = 100;  // slides off before letting go
  desk.input.button = false;
  desk.windows.Examine(desk.input);
  desk.Click(51, 56);  // the edges belong to the button
  desk.Click(49, 56);
  EXPECT_EQ(desk.Events(), (std::vector<std::string>{"13100:1", "13100:1"}));
}

TEST(Gadgets, TheListOpensScrollsAndSelectsByMouseWheelAndKeys) {
  Desk desk;
  desk.windows.ComboBoxGadget(5, 150, 100, 100, 50);  // an opened list of two rows
  for (int i = 0; i < 6; ++i) desk.windows.AddGadgetItem(5, -1, "ship " + std::to_string(i));
  desk.windows.AddGadgetItem(5, 0, "first");
  desk.windows.SetGadgetState(5, 0);
  desk.Click(200, 110);   // opens: an event
  desk.input.wheel = -3;  // turned towards the player: later items
  desk.windows.Examine(desk.input);
  desk.input.wheel = 0;
  desk.Click(200, 142);  // the second row shown is now item 4
  EXPECT_EQ(desk.windows.GetGadgetText(5), "ship 3");
  desk.Tap(kKeyDown);  // the list keeps the keys: one down
  desk.Tap(kKeyDown);
  desk.Tap(kKeyUp);
  EXPECT_EQ(desk.windows.GetGadgetText(5), "ship 4");
  for (int i = 0; i < 9; ++i) desk.Tap(kKeyDown);  // stops at the last item
  EXPECT_EQ(desk.windows.GetGadgetText(5), "ship 5");
  EXPECT_EQ(desk.Events(), (std::vector<std::string>{"13100:5", "13100:5", "13100:5", "13100:5",
                                                     "13100:5", "13100:5"}));
  desk.windows.ClearGadgetItems(5);
  EXPECT_EQ(desk.windows.GetGadgetText(5), "");
}

TEST(Gadgets, DownOntoTheRowBelowTheShownOnesScrollsItIntoView) {
  Desk desk;
  desk.windows.ComboBoxGadget(5, 150, 100, 100, 50);  // an opened list of two rows
  for (int i = 0; i < 6; ++i) desk.windows.AddGadgetItem(5, -1, "ship " + std::to_string(i));
  desk.windows.SetGadgetState(5, 0);
  desk.Click(200, 110);
  desk.Tap(kKeyDown);
  desk.Tap(kKeyDown);    // item 2, just below the two rows shown
  desk.Click(200, 142);  // the second row shown: a click picks what the player sees there
  EXPECT_EQ(desk.windows.GetGadgetText(5), "ship 2");
}

TEST(Gadgets, ADialogIsModalAndClosesByItsBoxOrEscapeAndEnterClicksItsDefault) {
  Desk desk;
  desk.windows.ButtonGadget(1, 50, 55, 50, 20, "Easy");
  desk.windows.OpenWindow(1, 150, 80, "New Ship");
  desk.windows.ButtonGadget(8, 45, 45, 50, 20, "OK");
  desk.windows.SetDefaultButton(8);
  desk.Click(75, 65);  // behind the dialog: nothing
  desk.Tap(kKeyReturn);
  desk.Click(268, 35);  // the close box
  desk.Tap(kKeyEscape);
  EXPECT_EQ(desk.Events(), (std::vector<std::string>{"13100:8", "16", "16"}));
  desk.windows.CloseWindow(1);
  desk.Click(75, 65);
  EXPECT_EQ(desk.Events(), (std::vector<std::string>{"13100:1"}));
}

TEST(Gadgets, TheLauncherLooksLikeADialog) {
  Desk desk;
  desk.windows.FrameGadget(0, 10, 10, 380, 80, "Difficulty", 0);
  desk.windows.ButtonGadget(1, 50, 55, 50, 20, "Easy");
  desk.windows.StringGadget(6, 100, 100, 50, 20, "Ships : ", kStringReadOnly | kStringBorderless);
  Canvas canvas;
  desk.windows.Draw(canvas);
  const std::uint16_t face = ScreenColor(kFaceRed, kFaceGreen, kFaceBlue);
  EXPECT_EQ(canvas.Pixel(5, 5), face);
  EXPECT_EQ(canvas.Pixel(399, 149), face);
  EXPECT_EQ(canvas.Pixel(400, 150), 0);  // the rest of the screen is not the window's
  EXPECT_EQ(canvas.Pixel(10, 60), ScreenColor(128, 128, 128));  // the group box's frame
  EXPECT_EQ(canvas.Pixel(52, 57), ScreenColor(230, 230, 230));  // the button's face
  EXPECT_EQ(canvas.Pixel(50, 55), ScreenColor(60, 60, 60));     // and its edge
  // Some of the caption's and the label's pixels are black text.
  auto has_text = [&](int x0, int y0, int width) {
    for (int y = y0; y < y0 + 13; ++y) {
      for (int x = x0; x < x0 + width; ++x) {
        if (canvas.Pixel(x, y) == ScreenColor(0, 0, 0)) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(has_text(26, 10, 80));
  EXPECT_TRUE(has_text(100, 103, 50));
}

}  // namespace
}  // namespace starvane
