#include "app/options_page.hpp"

#include <algorithm>
#include <cstddef>

#include "app/options_drawing.hpp"
#include "media/keys.hpp"
#include "workshop/panel_buttons.hpp"

namespace starvane {
namespace {

constexpr int kOptionsPageKey = kKeyO;  // O: the way into the page from the pause, and out again

// Where the page stands between two of its frames.
struct OptionsPageState {
  int selected = 0;
  bool waiting = false;  // for the key or controller input to bind to the selected action
  bool leaving = false;  // Back was chosen: the page closes once every key is let go
  KeyStates held{};      // the keys held at the examination before
  bool button = false;   // the left button held then
  PointerPosition pointer{};
};

KeyStates KeysHeldNow(const Media& media) {
  KeyStates keys{};
  for (int key = 0; key < kKeyCount; ++key) {
    keys[static_cast<std::size_t>(key)] = media.KeyboardPushed(key) != 0 ? 1 : 0;
  }
  return keys;
}

bool AnyMouseButtonHeld(const Media& media) {
  return media.MouseButton(1) != 0 || media.MouseButton(2) != 0 || media.MouseButton(3) != 0;
}

// The volume a step up or down: to the next multiple of ten, within 0 to 100.
int SteppedVolume(int volume, int step) {
  if (step > 0) return std::min(100, (volume / 10 + 1) * 10);
  return std::max(0, ((volume + 9) / 10 - 1) * 10);
}

// A setting changed a step (the two-valued ones change either way): in force at once, and in
// the file's choices, where the command line's choice for this run never goes.
void ChangeSetting(Media& media, OptionsPage& page, OptionsRowKind kind, int step) {
  PlayerChoices& run = page.run;
  PlayerChoices& saved = page.saved.choices;
  switch (kind) {
    case OptionsRowKind::Volume:
      run.volume = saved.volume = SteppedVolume(run.volume, step);
      if (page.sound != nullptr) page.sound->SetVolume(run.volume);
      return;
    case OptionsRowKind::Mute:
      run.mute = saved.mute = !run.mute;
      if (page.sound != nullptr) page.sound->SetMuted(run.mute);
      return;
    case OptionsRowKind::Picture:
      run.screen.scale = saved.screen.scale =
          run.screen.scale == ScaleMode::Sharp ? ScaleMode::Integer : ScaleMode::Sharp;
      media.ChangeScreen(run.screen);
      return;
    case OptionsRowKind::Screen:
      run.screen.windowed = saved.screen.windowed = !run.screen.windowed;
      media.ChangeScreen(run.screen);
      return;
    default:
      return;
  }
}

// Return (or a click) on a row: a setting changes, an action waits for its key, Defaults puts
// every key back, Back leaves.
void ActOnRow(Media& media, OptionsPage& page, OptionsPageState& state, int step) {
  const OptionsRowKind kind = KindOfOptionsRow(state.selected);
  switch (kind) {
    case OptionsRowKind::Action:
      state.waiting = true;
      media.SetInputMode(InputMode::Capture);
      return;
    case OptionsRowKind::Defaults:
      page.run.keys.ResetAll();
      page.saved.choices.keys.ResetAll();
      media.SetKeyBindings(page.run.keys);
      return;
    case OptionsRowKind::Back:
      state.leaving = true;
      return;
    default:
      ChangeSetting(media, page, kind, step);
      return;
  }
}

// While the page waits for a key: the first one pressed (not one held when the wait began) is
// bound to the action, a keyboard key in place of its keyboard keys, a controller input in
// place of its controller inputs. Escape, or a click, binds nothing.
void TakeKeyToBind(Media& media, OptionsPage& page, OptionsPageState& state, bool clicked) {
  bool done = clicked;
  for (const KeyEvent& event : media.KeyboardEvents()) {
    if (done) break;
    if (event.kind != KeyEvent::Kind::Down) continue;
    const auto key = static_cast<std::size_t>(event.key);
    if (key >= state.held.size() || state.held[key] != 0) continue;
    if (event.key == kKeyEscape) {
      done = true;
    } else if (Bindable(event.key)) {
      const GameAction action = ActionOfOptionsRow(state.selected);
      page.run.keys.Bind(action, event.key);
      page.saved.choices.keys.Bind(action, event.key);
      media.SetKeyBindings(page.run.keys);
      done = true;
    }
  }
  if (!done) return;
  state.waiting = false;
  media.SetInputMode(InputMode::Windows);
}

// What the keys and the mouse did at this examination. True when the picture changed.
bool TakeOptionsInput(Media& media, OptionsPage& page, OptionsPageState& state) {
  const auto pressed = [&](int key) {
    return media.KeyWentDown(key) && state.held[static_cast<std::size_t>(key)] == 0;
  };
  const bool clicked = media.MouseButton(1) != 0 && !state.button;
  if (state.waiting) {
    TakeKeyToBind(media, page, state, clicked);
    return !state.waiting;
  }
  if (pressed(kKeyEscape) || pressed(kOptionsPageKey)) {
    state.leaving = true;
    return false;
  }
  const int before = state.selected;
  const PlayerChoices choices = page.run;
  // Each press moves or changes once (a system may tell of one press twice while it is held).
  if (pressed(kKeyUp)) state.selected = std::max(0, state.selected - 1);
  if (pressed(kKeyDown)) state.selected = std::min(kOptionsRowCount - 1, state.selected + 1);
  const bool setting = state.selected < kOptionsSettingRows;
  const OptionsRowKind kind = KindOfOptionsRow(state.selected);
  if (setting && pressed(kKeyLeft)) ChangeSetting(media, page, kind, -1);
  if (setting && pressed(kKeyRight)) ChangeSetting(media, page, kind, 1);
  if (pressed(kKeyReturn) || pressed(kKeyKeypadEnter) || pressed(kKeySpace)) {
    ActOnRow(media, page, state, 1);
  }
  if (clicked) {
    if (const auto row = OptionsRowAt(media.MouseY())) {
      state.selected = *row;
      ActOnRow(media, page, state, media.MouseX() < kOptionsValueMiddle ? -1 : 1);
    }
  }
  return state.selected != before || !(page.run == choices) || state.waiting;
}

}  // namespace

std::optional<LoopEnd> RunOptionsPage(Game& game, OptionsPage& page, OptionsFrom from) {
  Media& media = game.media;
  const Canvas canvas = media.Screen;  // given back as it was, colours and text position too
  Media::InputSetAside aside(media);
  const InputMode mode = media.SetInputMode(InputMode::Windows);
  if (from == OptionsFrom::Launcher) {
    media.ShowWindowArea(kScreenWidth, kScreenHeight, "Starvane: options");
  } else {
    // The mouse is not examined in flight: the pointer starts where it was left.
    media.DiscardMouseMovement();
  }
  // M may have muted the game since it began.
  if (page.sound != nullptr) page.run.mute = page.sound->Muted();
  const PlayerChoices saved = page.saved.choices;

  OptionsPageState state;
  state.held = KeysHeldNow(media);
  state.button = media.MouseButton(1) != 0;
  state.pointer = {media.MouseX(), media.MouseY()};
  const auto draw = [&] {
    media.Screen = canvas;
    if (from == OptionsFrom::Launcher) media.Screen.ClearScreen(0, 0, 0);  // a page of its own
    media.Screen.StartDrawing();
    DrawOptionsPage(media, {page.run, state.selected, state.waiting, from});
    // Over the game the system's pointer is hidden (as on the STATS page): the page draws its own.
    if (from == OptionsFrom::Pause) DrawMouseArrow(game);
  };
  draw();
  std::optional<LoopEnd> end;
  // As in the pause, the picture is presented again only when it changed, and every frame the
  // page is open counts as one, with one examination of the keyboard.
  bool changed = true;
  for (;;) {
    if ((end = media.ShouldEnd())) break;
    media.ExamineKeyboard();
    media.ExamineMouse();
    changed = media.PresentIfChanged(changed);
    // M on the page is no press of the game's: the sound stays as the page has it.
    if (page.sound != nullptr) page.sound->SetMuted(page.run.mute);
    if (state.leaving) {
      if (media.KeyboardPushed(-1) == 0 && !AnyMouseButtonHeld(media)) break;
      continue;
    }
    const PointerPosition pointer{media.MouseX(), media.MouseY()};
    if (TakeOptionsInput(media, page, state) ||
        (from == OptionsFrom::Pause && !(pointer == state.pointer))) {
      draw();
      changed = true;
    }
    state.pointer = pointer;
    state.held = KeysHeldNow(media);
    state.button = media.MouseButton(1) != 0;
  }
  media.SetInputMode(mode);
  media.Screen = canvas;
  if (!(page.saved.choices == saved)) WriteSettingsFile(page.directory, page.saved);
  return end;
}

}  // namespace starvane
