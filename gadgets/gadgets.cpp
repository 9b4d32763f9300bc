#include "gadgets/gadgets.hpp"

#include <algorithm>

#include "base/utf8_text.hpp"
#include "media/font.hpp"

namespace starvane {
namespace {

constexpr int kTextPadding = 3;          // between a box's edge and its text
constexpr int kCell = kGadgetFontWidth;  // gadget texts are in the narrower font
constexpr int kArrowWidth = 16;          // the drop-down list's arrow box
constexpr int kMostShownCells = 512;     // no gadget is wider than the screen

// How many cells of text fit in a width.
std::size_t CellsIn(int width) {
  return static_cast<std::size_t>(std::clamp(width / kCell, 0, kMostShownCells));
}

// Text that fits the width: whole characters from the start, one a cell, the rest left out.
std::string_view Fitting(std::string_view text, int width) {
  return FirstCharacters(text, CellsIn(width));
}

// The cells that the text takes, at most kMostShownCells.
std::size_t CellsOf(std::string_view text) {
  return std::min<std::size_t>(CharacterCount(text), kMostShownCells);
}

void Frame(Canvas& canvas, int x, int y, int width, int height) {
  canvas.LineXY(x, y, x + width - 1, y);
  canvas.LineXY(x + width - 1, y, x + width - 1, y + height - 1);
  canvas.LineXY(x + width - 1, y + height - 1, x, y + height - 1);
  canvas.LineXY(x, y + height - 1, x, y);
}

void Text(Canvas& canvas, int x, int y, std::string_view text) {
  canvas.Locate(x, y);
  canvas.DrawText(text, kGadgetFont);
}

// The text centred in a box, as much of it as fits (a frame's width keeps clear of its edges).
void CentredText(Canvas& canvas, int x, int y, int width, int height, std::string_view text) {
  const std::string_view shown = Fitting(text, width - 2);
  const auto text_width = static_cast<int>(CellsOf(shown)) * kCell;
  Text(canvas, x + (width - text_width) / 2, y + (height - kFontHeight) / 2, shown);
}

void DrawFrameGadget(Canvas& canvas, const Gadget& g, int x, int y) {
  canvas.FrontColor(128, 128, 128);
  Frame(canvas, x, y + kFontHeight / 2, g.width, g.height - kFontHeight / 2);
  canvas.FrontColor(0, 0, 0);
  UseWindowFace(canvas);
  Text(canvas, x + 8, y, Fitting(" " + g.text + " ", g.width - 16));
}

void DrawButtonGadget(Canvas& canvas, const Gadget& g, int x, int y, bool pressed) {
  const int face = pressed ? 170 : 230;
  canvas.FrontColor(face, face, face);
  canvas.Box(x, y, g.width, g.height);
  canvas.FrontColor(60, 60, 60);
  Frame(canvas, x, y, g.width, g.height);
  canvas.FrontColor(0, 0, 0);
  canvas.BackColor(face, face, face);
  const int shift = pressed ? 1 : 0;
  CentredText(canvas, x + shift, y + shift, g.width, g.height, g.text);
}

void DrawComboGadget(Canvas& canvas, const Gadget& g, int x, int y) {
  const int height = g.ClosedHeight();
  canvas.FrontColor(255, 255, 255);
  canvas.Box(x, y, g.width, height);
  canvas.FrontColor(60, 60, 60);
  Frame(canvas, x, y, g.width, height);
  // The arrow box, with its arrow pointing down.
  const int ax = x + g.width - kArrowWidth;
  canvas.FrontColor(230, 230, 230);
  canvas.Box(ax, y + 1, kArrowWidth - 1, height - 2);
  canvas.FrontColor(60, 60, 60);
  canvas.LineXY(ax, y, ax, y + height);
  const int cx = ax + kArrowWidth / 2;
  const int cy = y + height / 2 + 2;
  for (int row = 0; row < 4; ++row) canvas.LineXY(cx - row, cy - row, cx + row + 1, cy - row);
  if (g.selected >= 0 && g.selected < static_cast<int>(g.items.size())) {
    canvas.FrontColor(0, 0, 0);
    canvas.BackColor(255, 255, 255);
    const std::string& item = g.items[static_cast<std::size_t>(g.selected)];
    Text(canvas, x + kTextPadding, y + (height - kFontHeight) / 2,
         Fitting(item, g.width - kArrowWidth - 2 * kTextPadding));
  }
}

// The selected part of a field's text as far as it is shown: white on dark blue, as a
// selection looks in the lists. (text_x, text_y): where the field's text starts.
void DrawSelection(Canvas& canvas, const Gadget& g, int text_x, int text_y) {
  const std::string_view text(g.text);
  const std::size_t first = std::min(g.first_byte_shown, text.size());
  const std::size_t from = std::max(first, SelectionStart(g));
  const std::size_t to = SelectionEnd(g);
  const std::size_t room = CellsIn(g.width - 2 * kTextPadding);
  const std::size_t skip = CellsOf(text.substr(first, from - first));
  if (from >= to || skip >= room) return;
  const std::string_view selected = FirstCharacters(text.substr(from, to - from), room - skip);
  const int left = text_x + static_cast<int>(skip) * kCell;
  canvas.FrontColor(0, 0, 128);
  canvas.Box(left, text_y, static_cast<int>(CellsOf(selected)) * kCell, kFontHeight);
  canvas.FrontColor(255, 255, 255);
  canvas.BackColor(0, 0, 128);
  Text(canvas, left, text_y, selected);
  canvas.FrontColor(0, 0, 0);
}

void DrawStringGadget(Canvas& canvas, const Gadget& g, int x, int y, bool focused) {
  const int text_y = y + (g.height - kFontHeight) / 2;
  if (g.IsLabel()) {
    // A label that is too long for its place shows its last characters, next to what it names.
    canvas.FrontColor(0, 0, 0);
    UseWindowFace(canvas);
    const std::size_t cells = CellsOf(g.text);
    const std::size_t room = CellsIn(g.width);
    std::string_view shown = FirstCharacters(g.text, cells);
    for (std::size_t skip = cells; skip > room; --skip) {
      shown.remove_prefix(NextCharacter(shown, 0));
    }
    Text(canvas, x, text_y, shown);
    return;
  }
  canvas.FrontColor(255, 255, 255);
  canvas.Box(x, y, g.width, g.height);
  if ((g.flags & kStringBorderless) == 0) {
    canvas.FrontColor(60, 60, 60);
    Frame(canvas, x, y, g.width, g.height);
  }
  canvas.FrontColor(0, 0, 0);
  canvas.BackColor(255, 255, 255);
  const std::size_t first = std::min(g.first_byte_shown, g.text.size());
  Text(canvas, x + kTextPadding, text_y,
       Fitting(std::string_view(g.text).substr(first), g.width - 2 * kTextPadding));
  if (focused) {
    DrawSelection(canvas, g, x + kTextPadding, text_y);
    const std::size_t cursor = std::max(first, std::min(g.cursor, g.text.size()));
    const auto shown = static_cast<int>(std::min(
        CellsOf(std::string_view(g.text).substr(first, cursor - first)), CellsIn(g.width)));
    const int cursor_x = x + kTextPadding + shown * kCell;
    canvas.LineXY(cursor_x, text_y - 1, cursor_x, text_y + kFontHeight + 1);
  }
}

}  // namespace

int Gadget::ClosedHeight() const {
  return kind == GadgetKind::ComboBox ? std::min(height, kComboRowHeight) : height;
}

int Gadget::ListRows() const {
  const int room = std::max(1, (height - kComboRowHeight - 2) / kListRowHeight);
  return std::clamp(static_cast<int>(std::min<std::size_t>(items.size(), 1 << 20)), 1, room);
}

int Gadget::ListTop() const {
  return opens_above ? y - ListHeight() : y + ClosedHeight();
}

int Gadget::ListItemAt(int px, int py) const {
  const int top = ListTop() + 1;
  if (px < x || px >= x + width || py < top || py >= top + ListRows() * kListRowHeight) return -1;
  const int item = first_shown + (py - top) / kListRowHeight;
  return item < static_cast<int>(items.size()) ? item : -1;
}

void Gadget::ScrollList(int rows) {
  const int last_first = std::max(0, static_cast<int>(items.size()) - ListRows());
  first_shown = static_cast<int>(
      std::clamp<long long>(static_cast<long long>(first_shown) + rows, 0, last_first));
}

void Gadget::ShowSelected() {
  if (selected < first_shown) first_shown = std::max(selected, 0);
  if (selected >= first_shown + ListRows()) first_shown = selected - ListRows() + 1;
  ScrollList(0);
}

void UseWindowFace(Canvas& canvas) {
  canvas.BackColor(kFaceRed, kFaceGreen, kFaceBlue);
}

// A dotted frame just inside the gadget's own (every other pixel of each side).
void DrawFocusMark(Canvas& canvas, int x, int y, int width, int height) {
  canvas.FrontColor(0, 0, 0);
  for (int i = x + 3; i < x + width - 3; i += 2) {
    canvas.Box(i, y + 3, 1, 1);
    canvas.Box(i, y + height - 4, 1, 1);
  }
  for (int i = y + 3; i < y + height - 3; i += 2) {
    canvas.Box(x + 3, i, 1, 1);
    canvas.Box(x + width - 4, i, 1, 1);
  }
}

void DrawGadget(Canvas& canvas, const Gadget& gadget, int ox, int oy, GadgetLook look) {
  const int x = ox + gadget.x;
  const int y = oy + gadget.y;
  if (look.marked && gadget.kind != GadgetKind::String) {
    DrawGadget(canvas, gadget, ox, oy, {look.pressed, look.focused, false});
    DrawFocusMark(canvas, x, y, gadget.width, gadget.ClosedHeight());
    return;
  }
  switch (gadget.kind) {
    case GadgetKind::Frame:
      DrawFrameGadget(canvas, gadget, x, y);
      break;
    case GadgetKind::Button:
      DrawButtonGadget(canvas, gadget, x, y, look.pressed);
      break;
    case GadgetKind::ComboBox:
      DrawComboGadget(canvas, gadget, x, y);
      break;
    case GadgetKind::String:
      DrawStringGadget(canvas, gadget, x, y, look.focused);
      break;
  }
}

void DrawOpenList(Canvas& canvas, const Gadget& gadget, int ox, int oy) {
  const int x = ox + gadget.x;
  const int top = oy + gadget.ListTop();
  const int height = gadget.ListHeight();
  canvas.FrontColor(255, 255, 255);
  canvas.Box(x, top, gadget.width, height);
  // A row is a text cell less its blank top row: the rows are drawn from the last up, so that
  // each cell's top row lands on the row above before that row is drawn over it.
  for (int row = gadget.ListRows() - 1; row >= 0; --row) {
    const int item = gadget.first_shown + row;
    if (item >= static_cast<int>(gadget.items.size())) continue;
    const int row_y = top + 1 + row * kListRowHeight;
    const bool chosen = item == gadget.selected;
    if (chosen) {
      canvas.FrontColor(0, 0, 128);
      canvas.Box(x + 1, row_y, gadget.width - 2, kListRowHeight);
    }
    canvas.FrontColor(chosen ? 255 : 0, chosen ? 255 : 0, chosen ? 255 : 0);
    if (chosen) {
      canvas.BackColor(0, 0, 128);
    } else {
      canvas.BackColor(255, 255, 255);
    }
    // The right edge keeps room for the marks below.
    Text(
        canvas, x + kTextPadding, row_y - 1,
        Fitting(gadget.items[static_cast<std::size_t>(item)], gadget.width - 2 * kTextPadding - 8));
  }
  canvas.FrontColor(60, 60, 60);
  Frame(canvas, x, top, gadget.width, height);
  // Marks on the right edge when items lie above or below the rows shown.
  canvas.FrontColor(0, 0, 0);
  const int mx = x + gadget.width - 8;
  if (gadget.first_shown > 0) canvas.LineXY(mx, top + 3, mx + 5, top + 3);
  if (gadget.first_shown + gadget.ListRows() < static_cast<int>(gadget.items.size())) {
    canvas.LineXY(mx, top + height - 4, mx + 5, top + height - 4);
  }
}

std::size_t SelectionStart(const Gadget& field) {
  return std::min({field.anchor, field.cursor, field.text.size()});
}

std::size_t SelectionEnd(const Gadget& field) {
  return std::min(std::max(field.anchor, field.cursor), field.text.size());
}

namespace {

// Erases the selected text, the cursor where it began; false when nothing was selected.
bool EraseSelection(Gadget& field) {
  const std::size_t from = SelectionStart(field);
  const std::size_t to = SelectionEnd(field);
  field.cursor = from;
  field.anchor = from;
  if (from == to) return false;
  field.text.erase(from, to - from);
  KeepCursorShown(field);
  return true;
}

}  // namespace

bool InsertTyped(Gadget& field, std::string_view typed) {
  field.cursor = std::min(field.cursor, field.text.size());
  // What is typed takes the selection's place, so the selected characters leave room for it.
  const std::size_t kept_characters =
      CharacterCount(field.text) -
      CharacterCount(
          std::string_view(field.text)
              .substr(SelectionStart(field), SelectionEnd(field) - SelectionStart(field)));
  std::size_t room = field.max_characters == 0
                         ? typed.size()
                         : field.max_characters - std::min(field.max_characters, kept_characters);
  std::string kept;
  for (std::size_t at = 0; at < typed.size() && room > 0;) {
    const Utf8Character character = DecodeUtf8(typed, at);
    const bool control = character.code < 0x20 || (character.code >= 0x7F && character.code < 0xA0);
    if (character.valid && !control) {
      kept.append(typed.substr(at, character.length));
      --room;
    }
    at += character.length;
  }
  if (kept.empty()) return false;
  EraseSelection(field);
  field.text.insert(field.cursor, kept);
  field.cursor += kept.size();
  field.anchor = field.cursor;
  KeepCursorShown(field);
  return true;
}

bool EraseBeforeCursor(Gadget& field) {
  if (EraseSelection(field)) return true;
  if (field.cursor == 0) return false;
  const std::size_t from = PreviousCharacter(field.text, field.cursor);
  field.text.erase(from, field.cursor - from);
  field.cursor = from;
  field.anchor = from;
  KeepCursorShown(field);
  return true;
}

bool EraseAtCursor(Gadget& field) {
  if (EraseSelection(field)) return true;
  if (field.cursor == field.text.size()) return false;
  field.text.erase(field.cursor, NextCharacter(field.text, field.cursor) - field.cursor);
  KeepCursorShown(field);
  return true;
}

void MoveCursorTo(Gadget& field, std::size_t at, bool extend) {
  field.cursor = std::min(at, field.text.size());
  if (!extend) field.anchor = field.cursor;
  KeepCursorShown(field);
}

void MoveCursorLeft(Gadget& field, bool extend) {
  if (!extend && SelectionStart(field) != SelectionEnd(field)) {
    MoveCursorTo(field, SelectionStart(field));
  } else {
    MoveCursorTo(field, PreviousCharacter(field.text, field.cursor), extend);
  }
}

void MoveCursorRight(Gadget& field, bool extend) {
  if (!extend && SelectionStart(field) != SelectionEnd(field)) {
    MoveCursorTo(field, SelectionEnd(field));
  } else {
    MoveCursorTo(field, NextCharacter(field.text, field.cursor), extend);
  }
}

void SelectAllText(Gadget& field) {
  field.anchor = 0;
  MoveCursorTo(field, field.text.size(), true);
}

void PlaceCursor(Gadget& field, int px) {
  const int cell = std::max(0, (px - field.x - kTextPadding + kCell / 2) / kCell);
  std::size_t at = std::min(field.first_byte_shown, field.text.size());
  for (int i = 0; i < cell && at < field.text.size(); ++i) at = NextCharacter(field.text, at);
  MoveCursorTo(field, at);
}

void KeepCursorShown(Gadget& field) {
  field.cursor = std::min(field.cursor, field.text.size());
  field.anchor = std::min(field.anchor, field.text.size());
  field.first_byte_shown = std::min(field.first_byte_shown, field.text.size());
  // One cell stays free for the cursor after the last character.
  const std::size_t cells = std::max<std::size_t>(1, CellsIn(field.width - 2 * kTextPadding));
  if (field.cursor < field.first_byte_shown) field.first_byte_shown = field.cursor;
  std::size_t before =
      CharacterCount(std::string_view(field.text)
                         .substr(field.first_byte_shown, field.cursor - field.first_byte_shown));
  for (; before >= cells; --before) {
    field.first_byte_shown = NextCharacter(field.text, field.first_byte_shown);
  }
}

namespace {

// The characters a controller steps through, in their order.
constexpr std::string_view kSteppedCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -";

}  // namespace

bool StepCharacterBeforeCursor(Gadget& field, bool up) {
  const std::size_t before = field.cursor > 0 && field.cursor <= field.text.size()
                                 ? kSteppedCharacters.find(field.text[field.cursor - 1])
                                 : std::string_view::npos;
  if (SelectionStart(field) != SelectionEnd(field) || before == std::string_view::npos) {
    return InsertTyped(field, "A");
  }
  const std::size_t count = kSteppedCharacters.size();
  const std::size_t next = up ? (before + 1) % count : (before + count - 1) % count;
  // The character replaced is one byte: every stepped character is ASCII.
  field.text[field.cursor - 1] = kSteppedCharacters[next];
  return true;
}

}  // namespace starvane
