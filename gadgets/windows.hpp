#pragma once
// The launcher's windows and their gadgets, on the game's own canvas: no native toolkit. The
// first window opened is the whole visible area (its title bar and close box are those of the
// real window around it); a further window is a modal dialog drawn on top, centred, with a
// title bar and a close box of its own. The gadgets work out their events from the keyboard and
// mouse states of each examination, so a script drives them as well as a player does.
//
// WaitWindowEvent returns kGadgetEvent for a button click, for an opened drop-down list or a
// change of its selection, and for each change of a text field's text; kCloseEvent when the
// top window is asked to close (its close box, Escape, or the real window closed); other codes
// for anything else. Enter clicks the top window's default button. A text field edits as such
// fields do: Shift with the arrows, Home or End selects, Ctrl+A selects all.
//
// Without a mouse (a game controller, whose buttons come as keys: media/live_keys.hpp): Tab and
// Shift+Tab move the focus through the top window's buttons, lists and text fields, marking
// the one it is on; Space or Return clicks a focused button; in a text field Up and Down step
// the character before the cursor (StepCharacterBeforeCursor), and Right at the end of the text
// just stepped adds one more, so that a name can be entered with the d-pad alone. The display
// is told whether a text field that can be edited has the keys (Media::WantTextInput), for a
// touch screen to show its keyboard.
//
// Keys are taken as the keyboard's events (media/keys.hpp), each once and in order: a press that
// acts on the windows (Enter's click, Escape's close) lets WaitWindowEvent return its event
// first, and the keys after it go to the windows as that event left them.
//
// A window at rest is not drawn again: a frame is drawn and presented only after something
// changed (input came, a gadget or window was made or changed, the window lost its image);
// other frames are kept (Media::KeepFrame).

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gadgets/gadgets.hpp"
#include "media/keys.hpp"

namespace starvane {

class Media;

constexpr int kGadgetEvent = 13100;
constexpr int kShortcutEvent = 13102;  // a keyboard shortcut was pressed
constexpr int kCloseEvent = 16;

// What the windows see of one examination of the keyboard and the mouse.
struct WindowInput {
  int pointer_x = 0;  // on the screen
  int pointer_y = 0;
  bool button = false;   // the left mouse button is held
  int wheel = 0;         // steps since the last examination, positive away from the player
  KeyEvents key_events;  // in order since the last examination
};

class Windows {
 public:
  explicit Windows(Media& media) : media_(media) {}
  Windows(const Windows&) = delete;
  Windows& operator=(const Windows&) = delete;
  ~Windows();  // no text field has the keys any more

  // Every window has a title bar and a close box; where it opens on the desktop is the window
  // manager's business, so it takes no position and no style.
  void OpenWindow(int window, int width, int height, std::string_view title);
  void CreateGadgetList(int window);
  void UseWindow(int window);
  void CloseWindow(int window);

  void FrameGadget(int gadget, int x, int y, int width, int height, std::string_view text,
                   int flags);
  void ButtonGadget(int gadget, int x, int y, int width, int height, std::string_view text);
  void ComboBoxGadget(int gadget, int x, int y, int width, int height);
  void AddGadgetItem(int gadget, int position, std::string_view text);
  void ClearGadgetItems(int gadget);
  void SetGadgetState(int gadget, int index);
  void StringGadget(int gadget, int x, int y, int width, int height, std::string_view text,
                    int flags = 0);
  // Selects the whole text of a text field, so that what is typed next replaces it.
  void SelectGadgetText(int gadget);
  std::string GetGadgetText(int gadget) const;
  // A drop-down list's items: how many, and the text of one ("" when there is no such item).
  int CountGadgetItems(int gadget) const;
  std::string GetGadgetItemText(int gadget, int index) const;
  // A drop-down list's selected item (-1: none, or no such gadget).
  int GetGadgetState(int gadget) const;
  // The most characters typing may put into a text field (0: no limit).
  void SetGadgetMaxLength(int gadget, int characters);

  // The button that Enter clicks in the current window.
  void SetDefaultButton(int gadget);
  // A press of the key (not its repeats) in the current window, while it is on top, makes a
  // kShortcutEvent with this shortcut: F1 for the controls.
  void AddKeyboardShortcut(int key, int shortcut);
  // After something else took the keyboard for a while (a page of its own): the keys are as
  // they are now, and keys let go meanwhile are no longer thought held.
  void ResetKeys(const KeyStates& keys) { keys_ = keys; }
  // Shows the first window's area again, as it was opened, after something else was shown.
  void ShowWindowAreaAgain();

  // Blocks until the next window event: frames are drawn and presented, and the keyboard and
  // mouse examined, until one comes. When the game must end (--frames, the script's end, a
  // closed window, a signal) it returns kCloseEvent; Media::ShouldEnd() then tells why.
  int WaitWindowEvent();
  // The gadget of the most recent gadget event; other events leave it.
  int EventGadgetID() const { return event_gadget_; }
  // The shortcut of the most recent kShortcutEvent.
  int EventShortcut() const { return event_shortcut_; }
  // Whether WaitWindowEvent would return at once.
  bool HasEvent() const { return !events_.empty(); }

  // One examination's worth of input, and the drawing of every window: the parts of the wait,
  // open to tests.
  void Examine(const WindowInput& input);
  void Draw(Canvas& canvas) const;
  // A window's gadgets as they are (none when there is no such window).
  std::vector<Gadget> GadgetsOf(int window) const;

 private:
  struct Window {
    int id = 0;
    int width = 0;
    int height = 0;
    std::string title;
    std::vector<Gadget> gadgets;
    int focus = -1;                              // the text field or list that takes the keys
    int default_button = -1;                     // the button Enter clicks
    std::vector<std::pair<int, int>> shortcuts;  // key, shortcut
  };
  struct Event {
    int code = 0;
    int gadget = -1;
  };

  Window* Find(int window);
  Window* Current();
  Window* Top();  // the window that takes input: the last opened
  Gadget* FindGadget(Window& window, int gadget);
  const Gadget* FindGadget(int gadget) const;
  Gadget* FindGadget(int gadget);
  Gadget& Add(Gadget gadget);
  // Where a window's client area lies on the screen.
  int OriginX(const Window& window) const;
  int OriginY(const Window& window) const;
  bool OnCloseBox(const Window& window, int px, int py) const;

  void PressAt(Window& window, int px, int py);
  void ReleaseAt(Window& window, int px, int py);
  // Takes the pending key events in order, up to one that made an event the caller must see
  // before the next keys (a click, a close).
  void HandleKeys();
  // One key going down (repeat: it was already down); true when it made such an event.
  bool HandleKey(Window& window, int key, bool repeat);
  void HandleText(Window& window, std::string_view text);
  void Queue(int code, int gadget = -1) { events_.push_back({code, gadget}); }
  // Tab: the focus to the next (or the previous) gadget of the window that takes keys.
  void MoveFocus(Window& window, bool backwards);
  // Tells the display whether an editable text field of the top window has the keys, when that
  // changed since it was last told.
  void TellTextInput();

  Media& media_;
  std::vector<Window> windows_;  // in the order they were opened; the last one is on top
  int current_ = -1;
  std::deque<Event> events_;
  int event_gadget_ = 0;
  int event_shortcut_ = 0;
  std::deque<KeyEvent> pending_keys_;  // examined and not yet taken
  bool redraw_ = true;
  bool focus_marked_ = false;  // the keys moved the focus: the focused gadget is marked
  bool stepped_ = false;       // the last key stepped a text field's character (Up, Down)
  bool text_input_told_ = false;

  // Input as of the last examination.
  bool button_ = false;
  KeyStates keys_{};         // as the key events taken so far left them
  int pressed_gadget_ = -1;  // the button under the press, until the release
  bool pressed_close_ = false;
  int pointer_x_ = 0;
  int pointer_y_ = 0;
  Gadget nowhere_;  // where gadgets made with no window open go
};

}  // namespace starvane
