#pragma once
// The gadgets of the launcher's windows, drawn on the canvas and worked by the mouse and the
// keyboard: a framed group box, a push button, a drop-down list, a one-line text field (or,
// read-only and borderless, a label). Each is plain data; media/windows.* gives them events.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "media/canvas.hpp"

namespace starvane {

enum class GadgetKind { Frame, Button, ComboBox, String };

// Text field flags: read-only, and no border. Both together make a plain label.
constexpr int kStringReadOnly = 0x800;
constexpr int kStringBorderless = 0x20000;

// Heights inside a drop-down list: the closed box is one row; the rest of its height is the
// opened list, a row of text every kListRowHeight pixels (the gadget font's 13-pixel cell less
// its top row, which is blank in every glyph). The opened list shows no more rows than there
// are items, and opens above the box when the window has no room for it below.
constexpr int kComboRowHeight = 20;
constexpr int kListRowHeight = 12;
// The height of a drop-down list whose opened list shows this many rows.
constexpr int ComboHeightFor(int rows) {
  return kComboRowHeight + rows * kListRowHeight + 2;
}

struct Gadget {
  int id = 0;
  GadgetKind kind = GadgetKind::Button;
  int x = 0;  // in the window's client area
  int y = 0;
  int width = 0;
  int height = 0;
  std::string text{};  // caption, button text, or the field's text
  int flags = 0;

  // Drop-down list: its items, the selected one (-1: none), whether it is open (and above the
  // box), and the first item shown in the opened list.
  std::vector<std::string> items{};
  int selected = -1;
  bool open = false;
  bool opens_above = false;
  int first_shown = 0;

  // Text field: the cursor and the first character shown, as byte positions in the UTF-8 text
  // (always at the start of a character), and the most characters typing may make it hold
  // (0: no limit). The text between the anchor and the cursor is selected (none when they are
  // equal): typing, Backspace and Delete replace it.
  std::size_t cursor = 0;
  std::size_t anchor = 0;
  std::size_t first_byte_shown = 0;
  std::size_t max_characters = 0;

  bool IsLabel() const { return kind == GadgetKind::String && (flags & kStringReadOnly) != 0; }
  bool Contains(int px, int py) const {
    return px >= x && px < x + width && py >= y && py < y + ClosedHeight();
  }
  // A drop-down list is one row high when closed; everything else is as high as it was made.
  int ClosedHeight() const;
  // The rows of an opened list, and the top and height of its box, frame included.
  int ListRows() const;
  int ListTop() const;
  int ListHeight() const { return ListRows() * kListRowHeight + 2; }
  // The item under a point of the opened list, or -1.
  int ListItemAt(int px, int py) const;
  void ScrollList(int rows);  // moves the first row shown, within the items
  void ShowSelected();        // scrolls the opened list so the selected item is in it
};

// How a gadget looks at this moment of the window's life.
struct GadgetLook {
  bool pressed = false;  // a button held down with the pointer on it
  bool focused = false;  // the text field that takes the keys
  // The button or list that takes the keys, once the keys moved the focus (Tab): drawn with a
  // dotted frame inside, so that a player without a mouse sees where the keys go.
  bool marked = false;
};

// Draws the gadget at the client area's origin (ox, oy).
void DrawGadget(Canvas& canvas, const Gadget& gadget, int ox, int oy, GadgetLook look);
// Draws the opened list of a drop-down list over everything else.
void DrawOpenList(Canvas& canvas, const Gadget& gadget, int ox, int oy);

// The face colour of windows; text and lines are drawn on it.
void UseWindowFace(Canvas& canvas);
constexpr int kFaceRed = 212;
constexpr int kFaceGreen = 208;
constexpr int kFaceBlue = 200;

// Text field editing, a whole UTF-8 character at a time. Typed control characters (below 0x20,
// DEL and 0x80..0x9F) and bytes that are no valid UTF-8 are dropped, so no pasted line end and
// no broken character can ever become part of a name; typing beyond the field's limit is
// ignored. A selection is replaced by what is typed and erased by Backspace or Delete. Each
// returns whether the text changed.
bool InsertTyped(Gadget& field, std::string_view typed);
bool EraseBeforeCursor(Gadget& field);  // Backspace
bool EraseAtCursor(Gadget& field);      // Delete
// The cursor moves a character, or to an end (Home, End). Extending (Shift held) keeps the
// anchor, so the text passed over is selected; otherwise a selection is let go, and Left and
// Right first go to its start or end.
void MoveCursorLeft(Gadget& field, bool extend = false);
void MoveCursorRight(Gadget& field, bool extend = false);
void MoveCursorTo(Gadget& field, std::size_t at, bool extend = false);
// Selects the whole text, the cursor at its end (Ctrl+A, and a field that opens selected).
void SelectAllText(Gadget& field);
// The selected bytes, [first, last); empty when nothing is selected.
std::size_t SelectionStart(const Gadget& field);
std::size_t SelectionEnd(const Gadget& field);
// Places the cursor at the character under a point of the field, letting a selection go.
void PlaceCursor(Gadget& field, int px);
// Keeps the cursor within what the field shows, scrolling its text sideways.
void KeepCursorShown(Gadget& field);
// A name entered without a keyboard (a game controller's d-pad): the character before the
// cursor steps up (or down) through A-Z, a-z, 0-9, space and '-', round and round; with none
// before the cursor, or text selected, an 'A' is put there. True when the text changed.
bool StepCharacterBeforeCursor(Gadget& field, bool up);

}  // namespace starvane
