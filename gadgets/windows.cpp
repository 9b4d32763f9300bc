#include "gadgets/windows.hpp"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "base/utf8_text.hpp"
#include "media/font.hpp"
#include "media/media.hpp"

namespace starvane {
namespace {

constexpr int kTitleBarHeight = 18;
constexpr int kBorder = 2;
constexpr int kCloseBoxSide = 14;

bool TakesKeys(const Gadget& g) {
  return g.kind == GadgetKind::Button || g.kind == GadgetKind::ComboBox ||
         (g.kind == GadgetKind::String && !g.IsLabel());
}

}  // namespace

Windows::~Windows() {
  if (text_input_told_) media_.WantTextInput(false);
}

void Windows::OpenWindow(int window, int width, int height, std::string_view title) {
  CloseWindow(window);
  Window opened;
  opened.id = window;
  opened.width = std::clamp(width, 1, kScreenWidth);
  opened.height = std::clamp(height, 1, kScreenHeight);
  opened.title = std::string(title);
  windows_.push_back(std::move(opened));
  current_ = window;
  redraw_ = true;
  if (windows_.size() == 1) media_.ShowWindowArea(width, height, title);
}

void Windows::ShowWindowAreaAgain() {
  redraw_ = true;
  if (!windows_.empty()) {
    const Window& first = windows_.front();
    media_.ShowWindowArea(first.width, first.height, first.title);
  }
}

void Windows::CreateGadgetList(int window) {
  UseWindow(window);
}

void Windows::UseWindow(int window) {
  if (Find(window) != nullptr) current_ = window;
}

void Windows::CloseWindow(int window) {
  const auto found = std::find_if(windows_.begin(), windows_.end(),
                                  [window](const Window& w) { return w.id == window; });
  if (found == windows_.end()) return;
  windows_.erase(found);
  redraw_ = true;
  if (current_ == window) current_ = windows_.empty() ? -1 : windows_.back().id;
  pressed_gadget_ = -1;
  pressed_close_ = false;
}

Windows::Window* Windows::Find(int window) {
  for (Window& w : windows_) {
    if (w.id == window) return &w;
  }
  return nullptr;
}

std::vector<Gadget> Windows::GadgetsOf(int window) const {
  for (const Window& w : windows_) {
    if (w.id == window) return w.gadgets;
  }
  return {};
}

Windows::Window* Windows::Current() {
  return Find(current_);
}

Windows::Window* Windows::Top() {
  return windows_.empty() ? nullptr : &windows_.back();
}

Gadget* Windows::FindGadget(Window& window, int gadget) {
  for (Gadget& g : window.gadgets) {
    if (g.id == gadget) return &g;
  }
  return nullptr;
}

Gadget* Windows::FindGadget(int gadget) {
  for (auto w = windows_.rbegin(); w != windows_.rend(); ++w) {
    if (Gadget* g = FindGadget(*w, gadget)) return g;
  }
  return nullptr;
}

const Gadget* Windows::FindGadget(int gadget) const {
  for (auto w = windows_.rbegin(); w != windows_.rend(); ++w) {
    for (const Gadget& g : w->gadgets) {
      if (g.id == gadget) return &g;
    }
  }
  return nullptr;
}

Gadget& Windows::Add(Gadget gadget) {
  redraw_ = true;
  Window* window = Current();
  if (window == nullptr) {
    nowhere_ = std::move(gadget);  // a gadget made with no window open goes nowhere
    return nowhere_;
  }
  std::erase_if(window->gadgets, [&](const Gadget& g) { return g.id == gadget.id; });
  window->gadgets.push_back(std::move(gadget));
  return window->gadgets.back();
}

void Windows::FrameGadget(int gadget, int x, int y, int width, int height, std::string_view text,
                          int flags) {
  Add({gadget, GadgetKind::Frame, x, y, width, height, std::string(text), flags});
}

void Windows::ButtonGadget(int gadget, int x, int y, int width, int height, std::string_view text) {
  Add({gadget, GadgetKind::Button, x, y, width, height, std::string(text)});
}

void Windows::ComboBoxGadget(int gadget, int x, int y, int width, int height) {
  Add({gadget, GadgetKind::ComboBox, x, y, width, height});
}

void Windows::AddGadgetItem(int gadget, int position, std::string_view text) {
  redraw_ = true;
  Gadget* g = FindGadget(gadget);
  if (g == nullptr || g->kind != GadgetKind::ComboBox) return;
  const auto size = static_cast<int>(g->items.size());
  const int at = position < 0 || position > size ? size : position;
  g->items.insert(g->items.begin() + at, std::string(text));
  if (g->selected >= at) ++g->selected;
}

void Windows::ClearGadgetItems(int gadget) {
  redraw_ = true;
  Gadget* g = FindGadget(gadget);
  if (g == nullptr || g->kind != GadgetKind::ComboBox) return;
  g->items.clear();
  g->selected = -1;
  g->first_shown = 0;
  g->open = false;
}

void Windows::SetGadgetState(int gadget, int index) {
  redraw_ = true;
  Gadget* g = FindGadget(gadget);
  if (g == nullptr || g->kind != GadgetKind::ComboBox) return;
  g->selected = index >= 0 && index < static_cast<int>(g->items.size()) ? index : -1;
  g->ShowSelected();
}

void Windows::StringGadget(int gadget, int x, int y, int width, int height, std::string_view text,
                           int flags) {
  Gadget& field = Add({gadget, GadgetKind::String, x, y, width, height, std::string(text), flags});
  MoveCursorTo(field, field.text.size());
  // The first field of a window that can be edited takes the keys at once.
  Window* window = Current();
  if (window != nullptr && window->focus < 0 && !field.IsLabel()) window->focus = gadget;
}

void Windows::SelectGadgetText(int gadget) {
  redraw_ = true;
  Gadget* g = FindGadget(gadget);
  if (g != nullptr && g->kind == GadgetKind::String) SelectAllText(*g);
}

std::string Windows::GetGadgetText(int gadget) const {
  const Gadget* g = FindGadget(gadget);
  if (g == nullptr) return "";
  if (g->kind != GadgetKind::ComboBox) return g->text;
  if (g->selected < 0 || g->selected >= static_cast<int>(g->items.size())) return "";
  return g->items[static_cast<std::size_t>(g->selected)];
}

int Windows::CountGadgetItems(int gadget) const {
  const Gadget* g = FindGadget(gadget);
  return g == nullptr ? 0 : static_cast<int>(g->items.size());
}

int Windows::GetGadgetState(int gadget) const {
  const Gadget* g = FindGadget(gadget);
  return g == nullptr ? -1 : g->selected;
}

std::string Windows::GetGadgetItemText(int gadget, int index) const {
  const Gadget* g = FindGadget(gadget);
  if (g == nullptr || index < 0 || index >= static_cast<int>(g->items.size())) return "";
  return g->items[static_cast<std::size_t>(index)];
}

void Windows::SetGadgetMaxLength(int gadget, int characters) {
  Gadget* g = FindGadget(gadget);
  if (g != nullptr) g->max_characters = static_cast<std::size_t>(std::max(characters, 0));
}

void Windows::SetDefaultButton(int gadget) {
  if (Window* window = Current()) window->default_button = gadget;
}

void Windows::AddKeyboardShortcut(int key, int shortcut) {
  if (Window* window = Current()) window->shortcuts.emplace_back(key, shortcut);
}

int Windows::OriginX(const Window& window) const {
  if (windows_.empty() || &window == &windows_.front()) return 0;
  const int area = windows_.front().width;
  return std::max(kBorder, (area - window.width - 2 * kBorder) / 2 + kBorder);
}

int Windows::OriginY(const Window& window) const {
  if (windows_.empty() || &window == &windows_.front()) return 0;
  const int area = windows_.front().height;
  const int outer = window.height + kTitleBarHeight + 2 * kBorder;
  return std::max(kTitleBarHeight + kBorder, (area - outer) / 2 + kTitleBarHeight + kBorder);
}

bool Windows::OnCloseBox(const Window& window, int px, int py) const {
  if (&window == &windows_.front()) return false;  // the real window's close box serves it
  const int right = OriginX(window) + window.width;
  const int top = OriginY(window) - kTitleBarHeight + 2;
  return px >= right - kCloseBoxSide && px < right && py >= top && py < top + kCloseBoxSide;
}

int Windows::WaitWindowEvent() {
  for (;;) {
    if (!events_.empty()) {
      const Event event = events_.front();
      events_.pop_front();
      if (event.code == kGadgetEvent) event_gadget_ = event.gadget;
      if (event.code == kShortcutEvent) event_shortcut_ = event.gadget;
      return event.code;
    }
    if (!pending_keys_.empty()) {
      HandleKeys();
      continue;
    }
    if (media_.ShouldEnd()) return kCloseEvent;
    TellTextInput();
    if (redraw_) {
      redraw_ = false;
      Canvas& screen = media_.Screen;
      screen.StartDrawing();
      Draw(screen);
      media_.FlipBuffers();
      screen.StopDrawing();
    } else if (media_.KeepFrame()) {
      redraw_ = true;
    }

    media_.ExamineKeyboard();
    media_.ExamineMouse();
    WindowInput input;
    input.pointer_x = media_.MouseX();
    input.pointer_y = media_.MouseY();
    input.button = media_.MouseButton(1) != 0;
    input.wheel = media_.MouseWheel();
    input.key_events = media_.KeyboardEvents();
    Examine(input);
  }
}

void Windows::Examine(const WindowInput& input) {
  if (input.pointer_x != pointer_x_ || input.pointer_y != pointer_y_ || input.button != button_ ||
      input.wheel != 0 || !input.key_events.empty()) {
    redraw_ = true;
  }
  pointer_x_ = input.pointer_x;
  pointer_y_ = input.pointer_y;
  if (Window* top = Top()) {
    if (input.button && !button_) PressAt(*top, input.pointer_x, input.pointer_y);
    if (!input.button && button_) ReleaseAt(*top, input.pointer_x, input.pointer_y);
    if (input.wheel != 0) {
      for (Gadget& g : top->gadgets) {
        if (g.open) g.ScrollList(-input.wheel);  // the wheel turned up shows earlier items
      }
    }
  }
  button_ = input.button;
  pending_keys_.insert(pending_keys_.end(), input.key_events.begin(), input.key_events.end());
  HandleKeys();
}

void Windows::PressAt(Window& window, int px, int py) {
  const int lx = px - OriginX(window);
  const int ly = py - OriginY(window);
  // An opened list takes the press: an item is chosen, anywhere else the list closes.
  for (Gadget& g : window.gadgets) {
    if (!g.open) continue;
    const int item = g.ListItemAt(lx, ly);
    if (item >= 0 && item != g.selected) {
      g.selected = item;
      Queue(kGadgetEvent, g.id);
    }
    g.open = false;
    return;
  }
  if (OnCloseBox(window, px, py)) {
    pressed_close_ = true;
    return;
  }
  // Gadgets made later lie on top of earlier ones.
  for (auto g = window.gadgets.rbegin(); g != window.gadgets.rend(); ++g) {
    if (!g->Contains(lx, ly)) continue;
    switch (g->kind) {
      case GadgetKind::Button:
        pressed_gadget_ = g->id;
        return;
      case GadgetKind::ComboBox:
        window.focus = g->id;
        g->open = true;
        // Below the box when the window has room for the list there, else above it.
        g->opens_above = g->y + g->ClosedHeight() + g->ListHeight() > window.height &&
                         g->y - g->ListHeight() >= 0;
        g->ShowSelected();
        Queue(kGadgetEvent, g->id);
        return;
      case GadgetKind::String:
        if (g->IsLabel()) continue;
        window.focus = g->id;
        PlaceCursor(*g, lx);
        return;
      case GadgetKind::Frame:
        continue;
    }
  }
}

void Windows::ReleaseAt(Window& window, int px, int py) {
  if (pressed_close_ && OnCloseBox(window, px, py)) Queue(kCloseEvent);
  pressed_close_ = false;
  if (pressed_gadget_ < 0) return;
  const Gadget* button = FindGadget(window, pressed_gadget_);
  // A click is a press and a release on the same button: sliding off it cancels the click.
  if (button != nullptr && button->Contains(px - OriginX(window), py - OriginY(window))) {
    Queue(kGadgetEvent, pressed_gadget_);
  }
  pressed_gadget_ = -1;
}

void Windows::HandleKeys() {
  while (!pending_keys_.empty()) {
    const KeyEvent event = std::move(pending_keys_.front());
    pending_keys_.pop_front();
    redraw_ = true;
    if (event.kind != KeyEvent::Kind::Text && (event.key < 0 || event.key >= kKeyCount)) continue;
    const auto k = static_cast<std::size_t>(event.key);
    if (event.kind == KeyEvent::Kind::Up) {
      keys_[k] = 0;
      continue;
    }
    Window* top = Top();
    if (event.kind == KeyEvent::Kind::Text) {
      if (top != nullptr) HandleText(*top, event.text);
      continue;
    }
    const bool repeat = keys_[k] != 0;
    keys_[k] = 1;
    if (top != nullptr && HandleKey(*top, event.key, repeat)) return;
  }
}

bool Windows::HandleKey(Window& window, int key, bool repeat) {
  Gadget* open_list = nullptr;
  for (Gadget& g : window.gadgets) {
    if (g.open) open_list = &g;
  }
  // Escape and Enter act once a press, not again while held.
  const bool escape = key == kKeyEscape && !repeat;
  const bool enter = (key == kKeyReturn || key == kKeyKeypadEnter) && !repeat;
  if (open_list != nullptr && (escape || enter)) {
    open_list->open = false;  // the keys close the list first
    return false;
  }
  if (escape) {
    Queue(kCloseEvent);
    return true;
  }
  Gadget* focus = FindGadget(window, window.focus);
  const bool on_button = focus != nullptr && focus->kind == GadgetKind::Button;
  if (on_button && (enter || (key == kKeySpace && !repeat))) {
    Queue(kGadgetEvent, focus->id);
    return true;
  }
  if (enter && window.default_button >= 0) {
    Queue(kGadgetEvent, window.default_button);
    return true;
  }
  for (const auto& [shortcut_key, shortcut] : window.shortcuts) {
    if (shortcut_key == key && !repeat) {
      Queue(kShortcutEvent, shortcut);
      return true;
    }
  }

  const auto held = [this](int k) { return keys_[static_cast<std::size_t>(k)] != 0; };
  const bool shift = held(kKeyLeftShift) || held(kKeyRightShift);
  if (key == kKeyTab) {
    MoveFocus(window, shift);
    return false;
  }
  const bool stepped = std::exchange(stepped_, false);
  if (focus == nullptr) return false;
  if (focus->kind == GadgetKind::ComboBox) {
    const int step = key == kKeyDown ? 1 : key == kKeyUp ? -1 : 0;
    const int last = static_cast<int>(focus->items.size()) - 1;
    const int chosen = std::clamp(focus->selected + step, 0, std::max(last, 0));
    if (step != 0 && last >= 0 && chosen != focus->selected) {
      focus->selected = chosen;
      focus->ShowSelected();
      Queue(kGadgetEvent, focus->id);
    }
    return false;
  }
  if (focus->kind != GadgetKind::String || focus->IsLabel()) return false;
  const bool control = held(kKeyLeftControl) || held(kKeyRightControl);
  bool changed = false;
  switch (key) {
    case kKeyBackspace:
      changed = EraseBeforeCursor(*focus);
      break;
    case kKeyDelete:
      changed = EraseAtCursor(*focus);
      break;
    case kKeyLeft:
      MoveCursorLeft(*focus, shift);
      break;
    case kKeyRight:
      if (stepped && !shift && focus->cursor == focus->text.size()) {
        changed = InsertTyped(*focus, "A");  // the next character of a name on the d-pad
        stepped_ = changed;
      } else {
        MoveCursorRight(*focus, shift);
      }
      break;
    case kKeyUp:
    case kKeyDown:
      changed = StepCharacterBeforeCursor(*focus, key == kKeyUp);
      stepped_ = changed;
      break;
    case kKeyHome:
      MoveCursorTo(*focus, 0, shift);
      break;
    case kKeyEnd:
      MoveCursorTo(*focus, focus->text.size(), shift);
      break;
    case kKeyA:
      if (control) SelectAllText(*focus);
      break;
    default:
      break;
  }
  KeepCursorShown(*focus);
  if (changed) Queue(kGadgetEvent, focus->id);
  return false;
}

void Windows::MoveFocus(Window& window, bool backwards) {
  std::vector<int> order;
  for (const Gadget& g : window.gadgets) {
    if (TakesKeys(g)) order.push_back(g.id);
  }
  if (order.empty()) return;
  const auto at = std::find(order.begin(), order.end(), window.focus);
  const auto count = static_cast<std::ptrdiff_t>(order.size());
  std::ptrdiff_t index = at == order.end() ? (backwards ? 0 : -1) : at - order.begin();
  index = (index + (backwards ? count - 1 : 1)) % count;
  for (Gadget& g : window.gadgets) g.open = false;
  window.focus = order[static_cast<std::size_t>(index)];
  focus_marked_ = true;
}

void Windows::TellTextInput() {
  bool wanted = false;
  if (!windows_.empty()) {
    const Window& top = windows_.back();
    for (const Gadget& g : top.gadgets) {
      if (g.id == top.focus) wanted = g.kind == GadgetKind::String && !g.IsLabel();
    }
  }
  if (wanted == text_input_told_) return;
  text_input_told_ = wanted;
  media_.WantTextInput(wanted);
}

void Windows::HandleText(Window& window, std::string_view text) {
  stepped_ = false;
  Gadget* focus = FindGadget(window, window.focus);
  if (focus == nullptr || focus->kind != GadgetKind::String || focus->IsLabel()) return;
  if (InsertTyped(*focus, text)) Queue(kGadgetEvent, focus->id);
}

void Windows::Draw(Canvas& canvas) const {
  if (windows_.empty()) return;
  const Window& top = windows_.back();
  for (const Window& window : windows_) {
    const int ox = OriginX(window);
    const int oy = OriginY(window);
    if (&window != &windows_.front()) {
      // A dialog: a frame, a title bar with the title, and a close box with its cross.
      canvas.FrontColor(60, 60, 60);
      canvas.Box(ox - kBorder, oy - kTitleBarHeight - kBorder, window.width + 2 * kBorder,
                 window.height + kTitleBarHeight + 2 * kBorder);
      canvas.FrontColor(0, 0, 128);
      canvas.Box(ox, oy - kTitleBarHeight, window.width, kTitleBarHeight);
      canvas.FrontColor(255, 255, 255);
      canvas.BackColor(0, 0, 128);
      canvas.Locate(ox + 4, oy - kTitleBarHeight + 3);
      canvas.DrawText(
          FirstCharacters(window.title, static_cast<std::size_t>(std::max(0, window.width - 24) /
                                                                 kGadgetFontWidth)),
          kGadgetFont);
      const int cx = ox + window.width - kCloseBoxSide;
      const int cy = oy - kTitleBarHeight + 2;
      canvas.FrontColor(kFaceRed, kFaceGreen, kFaceBlue);
      canvas.Box(cx, cy, kCloseBoxSide - 1, kCloseBoxSide - 1);
      canvas.FrontColor(0, 0, 0);
      canvas.LineXY(cx + 3, cy + 3, cx + 10, cy + 10);
      canvas.LineXY(cx + 9, cy + 3, cx + 2, cy + 10);
    }
    canvas.FrontColor(kFaceRed, kFaceGreen, kFaceBlue);
    canvas.Box(ox, oy, window.width, window.height);
    const bool on_top = &window == &top;
    for (const Gadget& g : window.gadgets) {
      GadgetLook look;
      look.pressed =
          on_top && g.id == pressed_gadget_ && g.Contains(pointer_x_ - ox, pointer_y_ - oy);
      look.focused = on_top && g.id == window.focus;
      look.marked = look.focused && focus_marked_;
      DrawGadget(canvas, g, ox, oy, look);
    }
  }
  for (const Gadget& g : top.gadgets) {
    if (g.open) DrawOpenList(canvas, g, OriginX(top), OriginY(top));
  }
}

}  // namespace starvane
