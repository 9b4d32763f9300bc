#include "gadgets/windows.hpp"

#include <algorithm>

#include "base/utf8_text.hpp"
#include "media/font.hpp"
#include "media/media.hpp"

namespace starvane {
namespace {

constexpr int kTitleBarHeight = 18;
constexpr int kBorder = 2;
constexpr int kCloseBoxSide = 14;

// Held keys repeat after half a second, then every third frame.
constexpr int kRepeatDelay = 25;
constexpr int kRepeatEvery = 3;

}  // namespace

void Windows::OpenWindow(int window, int width, int height, std::string_view title) {
  CloseWindow(window);
  Window opened;
  opened.id = window;
  opened.width = std::clamp(width, 1, kScreenWidth);
  opened.height = std::clamp(height, 1, kScreenHeight);
  opened.title = std::string(title);
  windows_.push_back(std::move(opened));
  current_ = window;
  if (windows_.size() == 1) media_.ShowWindowArea(width, height, title);
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
  Gadget* g = FindGadget(gadget);
  if (g == nullptr || g->kind != GadgetKind::ComboBox) return;
  const auto size = static_cast<int>(g->items.size());
  const int at = position < 0 || position > size ? size : position;
  g->items.insert(g->items.begin() + at, std::string(text));
  if (g->selected >= at) ++g->selected;
}

void Windows::ClearGadgetItems(int gadget) {
  Gadget* g = FindGadget(gadget);
  if (g == nullptr || g->kind != GadgetKind::ComboBox) return;
  g->items.clear();
  g->selected = -1;
  g->first_shown = 0;
  g->open = false;
}

void Windows::SetGadgetState(int gadget, int index) {
  Gadget* g = FindGadget(gadget);
  if (g == nullptr || g->kind != GadgetKind::ComboBox) return;
  g->selected = index >= 0 && index < static_cast<int>(g->items.size()) ? index : -1;
  g->ShowSelected();
}

void Windows::StringGadget(int gadget, int x, int y, int width, int height, std::string_view text,
                           int flags) {
  Gadget& field = Add({gadget, GadgetKind::String, x, y, width, height, std::string(text), flags});
  field.cursor = field.text.size();
  KeepCursorShown(field);
  // The first field of a window that can be edited takes the keys at once.
  Window* window = Current();
  if (window != nullptr && window->focus < 0 && !field.IsLabel()) window->focus = gadget;
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
      return event.code;
    }
    if (media_.ShouldEnd()) return kCloseEvent;
    Canvas& screen = media_.Screen;
    screen.StartDrawing();
    Draw(screen);
    media_.FlipBuffers();
    screen.StopDrawing();

    media_.ExamineKeyboard();
    media_.ExamineMouse();
    WindowInput input;
    input.pointer_x = media_.MouseX();
    input.pointer_y = media_.MouseY();
    input.button = media_.MouseButton(1) != 0;
    input.wheel = media_.MouseWheel();
    for (int key = 0; key < kKeyCount; ++key) {
      input.keys[static_cast<std::size_t>(key)] = media_.KeyboardPushed(key) != 0 ? 1 : 0;
    }
    input.typed = media_.TypedText();
    Examine(input);
  }
}

void Windows::Examine(const WindowInput& input) {
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
    HandleKeys(*top, input);
  }
  button_ = input.button;
  for (std::size_t key = 0; key < keys_.size(); ++key) {
    held_frames_[key] = input.keys[key] != 0 ? std::min(held_frames_[key] + 1, 1 << 20) : 0;
  }
  keys_ = input.keys;
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

bool Windows::Stroke(const WindowInput& input, int key) {
  const auto k = static_cast<std::size_t>(key);
  if (input.keys[k] == 0) return false;
  if (keys_[k] == 0) return true;
  const int held = held_frames_[k];
  return held >= kRepeatDelay && (held - kRepeatDelay) % kRepeatEvery == 0;
}

void Windows::HandleKeys(Window& window, const WindowInput& input) {
  Gadget* open_list = nullptr;
  for (Gadget& g : window.gadgets) {
    if (g.open) open_list = &g;
  }
  const bool escape = Stroke(input, kKeyEscape) && keys_[kKeyEscape] == 0;
  const bool enter = (Stroke(input, kKeyReturn) && keys_[kKeyReturn] == 0) ||
                     (Stroke(input, kKeyKeypadEnter) && keys_[kKeyKeypadEnter] == 0);
  if (open_list != nullptr && (escape || enter)) {
    open_list->open = false;  // the keys close the list first
    return;
  }
  if (escape) {
    Queue(kCloseEvent);
    return;
  }
  if (enter && window.default_button >= 0) Queue(kGadgetEvent, window.default_button);

  Gadget* focus = FindGadget(window, window.focus);
  if (focus == nullptr) return;
  if (focus->kind == GadgetKind::ComboBox) {
    const int step = Stroke(input, kKeyDown) ? 1 : Stroke(input, kKeyUp) ? -1 : 0;
    const int last = static_cast<int>(focus->items.size()) - 1;
    const int chosen = std::clamp(focus->selected + step, 0, std::max(last, 0));
    if (step != 0 && last >= 0 && chosen != focus->selected) {
      focus->selected = chosen;
      focus->ShowSelected();
      Queue(kGadgetEvent, focus->id);
    }
    return;
  }
  if (focus->kind != GadgetKind::String || focus->IsLabel()) return;
  bool changed = InsertTyped(*focus, input.typed);
  if (Stroke(input, kKeyBackspace)) changed = EraseBeforeCursor(*focus) || changed;
  if (Stroke(input, kKeyDelete)) changed = EraseAtCursor(*focus) || changed;
  if (Stroke(input, kKeyLeft)) MoveCursorLeft(*focus);
  if (Stroke(input, kKeyRight)) MoveCursorRight(*focus);
  if (Stroke(input, kKeyHome)) focus->cursor = 0;
  if (Stroke(input, kKeyEnd)) focus->cursor = focus->text.size();
  KeepCursorShown(*focus);
  if (changed) Queue(kGadgetEvent, focus->id);
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
      canvas.DrawText(FirstCharacters(
          window.title, static_cast<std::size_t>(std::max(0, window.width - 24) / kFontWidth)));
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
      DrawGadget(canvas, g, ox, oy, look);
    }
  }
  for (const Gadget& g : top.gadgets) {
    if (g.open) DrawOpenList(canvas, g, OriginX(top), OriginY(top));
  }
}

}  // namespace starvane
