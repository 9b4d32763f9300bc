#pragma once
// The media layer as the game sees it: files, the screen's back buffer, the keyboard and the
// mouse. Everything that touches the machine lives behind this; whether a real screen is
// attached is the backend's business.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/files.hpp"
#include "files/ship_lock.hpp"
#include "media/backend.hpp"
#include "media/canvas.hpp"
#include "media/film_director.hpp"
#include "media/input_log.hpp"
#include "media/input_mode.hpp"
#include "media/key_bindings.hpp"
#include "media/keyboard.hpp"
#include "media/loop_end.hpp"  // LoopEnd
#include "media/mouse.hpp"
#include "media/sound_source.hpp"

namespace starvane {

class Media {
 public:
  // Without a display the media layer is headless; without an input script the keyboard and
  // mouse are the display's own.
  explicit Media(std::filesystem::path file_directory, std::unique_ptr<Display> display = nullptr,
                 std::unique_ptr<InputSource> script = nullptr);

  FileTable Files;
  Canvas Screen;  // the back buffer: every primitive is drawn on it

  // The launcher's window: only the top-left width x height of the back buffer is shown, with
  // the system's pointer, whose position the mouse then follows; text input is on.
  void ShowWindowArea(int width, int height, std::string_view title) {
    display_->ShowWindowArea(width, height, title);
  }

  // Screen start: OpenScreen, then SetFrameRate. (The keyboard and the mouse need no start.)
  bool OpenScreen(int width, int height, std::string_view title);
  void SetFrameRate(int frames_per_second) { display_->SetFrameRate(frames_per_second); }
  // A notice over the presented picture, outside the back buffer (Display::ShowNotice).
  void ShowNotice(std::string_view text) { display_->ShowNotice(text); }

  // Presents the back buffer, waiting for its turn, and processes pending window messages.
  // When F12 went down at an examination since the last flip, the frame just presented is then
  // written as a screenshot (starvane-001.bmp, ... : the first free name in the files
  // directory), whatever the backend, so an input script takes screenshots too.
  void FlipBuffers();
  // Counts a frame like FlipBuffers but presents nothing new: the screen keeps the last frame.
  // A window with live input waits meanwhile for its next message (at most a tenth of a
  // second), so that a window at rest takes no time; scripted input goes on at once, so a
  // script plays the same whichever frames are presented. True when the window lost its image
  // and the next frame should be presented.
  bool KeepFrame();
  // A page that draws only when it changes: presents the frame when `changed`, else keeps the
  // last one. True when the next frame must be presented (the window lost its image).
  bool PresentIfChanged(bool changed);
  std::int64_t FramesPresented() const { return frames_presented_; }

  // From now on every presented frame (FlipBuffers, KeepFrame) asks the source for its frame of
  // sound and hands it to the display; nullptr stops that. The source must outlive its use.
  void SetSoundSource(SoundSource* source) { sound_ = source; }
  // A pause holds the sound: while held, the source is told so and fades to silence, and the
  // frames go on silent (a frame's wait in a pause may be longer than the frame's sound, and
  // ringing sounds would come out in bursts).
  void HoldSound(bool held) { sound_held_ = held; }
  bool SoundHeld() const { return sound_held_; }
  // How many times the keyboard was examined: a reader of KeyWentDown that runs once a
  // presented frame takes each examination's presses once.
  std::int64_t KeyboardExaminations() const { return keyboard_examinations_; }

  // Captures the state of all keys, and what the keyboard did since the last examination; 0
  // when the capture failed and the last state stays (with no events).
  int ExamineKeyboard();
  // The key presses, releases and typed text between the last two examinations, in order:
  // they lead from the state before to the state now.
  const KeyEvents& KeyboardEvents() const { return key_events_; }
  // Held (Keyboard::KeyboardPushed): changes nothing.
  int KeyboardPushed(int key) const { return keyboard_.KeyboardPushed(key); }
  // The key went down between the last two examinations.
  bool KeyWentDown(int key) const;
  // The window lost the focus or was minimised between the last two examinations. That
  // examination then found every key up, whatever the source said: a window without the focus
  // hears no key go up, and no ship may be left thrusting and firing.
  bool FocusLost() const { return focus_lost_; }
  // Let go since a call saw it down (Keyboard::KeyboardReleased): a call that answers 1
  // consumes the release.
  int KeyboardReleased(int key) { return keyboard_.KeyboardReleased(key); }
  // The first examination of the keyboard after the next presented frame finds this key
  // pressed, as if the player had pressed it, and the one after finds it let go (unless the
  // player holds it). It is recorded as any press is, so a replay presses it at the same frame
  // without being asked. (Not before a frame: a script's key states change only between frames,
  // and a replay gives an examination made at the same frame count as an earlier one the same
  // keys as that one.)
  void PressKeyOnce(int key) {
    key_to_press_ = key;
    press_after_frame_ = frames_presented_;
  }
  // How the player's keyboard labels the key of this code (Display::KeyLabel).
  // A scripted game names the US keys, whatever the machine: the frames of its replays are the
  // same everywhere.
  std::string KeyLabel(int code) const {
    return script_ ? UsKeyLabel(code) : display_->KeyLabel(code);
  }

  // The input is a player's, not a script's: only then may a page that a replay never shows
  // open (the options page).
  bool PlayerAtKeys() const { return script_ == nullptr; }
  // What the player's keys and controller mean from now on (media/input_mode.hpp); returns the
  // mode before, for the caller to give back.
  InputMode SetInputMode(InputMode mode);
  InputMode CurrentInputMode() const { return input_mode_; }
  // A mode for as long as this lives (a loop of the game's), and the mode before it again after.
  class InputModeScope {
   public:
    InputModeScope(Media& media, InputMode mode)
        : media_(media), before_(media.SetInputMode(mode)) {}
    InputModeScope(const InputModeScope&) = delete;
    InputModeScope& operator=(const InputModeScope&) = delete;
    ~InputModeScope() { media_.SetInputMode(before_); }

   private:
    Media& media_;
    InputMode before_;
  };
  // The player's bindings, in force in flight, the pause and the STATS page.
  void SetKeyBindings(const KeyBindings& bindings);
  const KeyBindings& Bindings() const { return bindings_; }
  // How the player's keyboard labels the keys that make this game key now ("W" for thrust bound
  // to W; several apart by " or "). A scripted game names the game key itself, as KeyLabel.
  std::string BoundKeyLabel(int game_key) const;
  // A text field has the typing (Display::WantTextInput).
  void WantTextInput(bool wanted) { display_->WantTextInput(wanted); }
  // The player chose another way to show the picture (Display::ChangeScreen).
  void ChangeScreen(const ScreenOptions& options) { display_->ChangeScreen(options); }

  // While one of these lives, the keyboard and the mouse are the player's own business (the
  // options page): what they do is recorded nowhere, and when it ends the game's keyboard and
  // mouse are as they were when it began, so that a replay, which never sees that page, goes
  // on exactly alike. The page must examine the keyboard once each frame it counts, as the
  // pause does, whose frames the replay shows in its stead.
  class InputSetAside {
   public:
    explicit InputSetAside(Media& media);
    InputSetAside(const InputSetAside&) = delete;
    InputSetAside& operator=(const InputSetAside&) = delete;
    ~InputSetAside();

   private:
    Media& media_;
    Keyboard keyboard_;
    Mouse mouse_;
    KeyEvents key_events_;
    bool focus_lost_;
    bool was_aside_;
  };

  void ExamineMouse();
  // Captures the mouse like ExamineMouse (and records the capture alike, so a replay captures
  // the same), but takes only the buttons: the movement gathered since the last examination is
  // dropped and the pointer stays where it was.
  void DiscardMouseMovement();
  int MouseX() const { return mouse_.MouseX(); }
  int MouseY() const { return mouse_.MouseY(); }
  int MouseButton(int button) const { return mouse_.MouseButton(button); }
  int MouseWheel() const { return mouse_.MouseWheel(); }

  // The one end test of every loop that presents frames, asked before each frame: the frame
  // limit (--frames) was reached, the input script ends here (its end line), or the player asked
  // from outside to end the game (the window was closed, or a quit signal came). Nothing when the
  // game goes on. Escape is each loop's own.
  std::optional<LoopEnd> ShouldEnd() const;

  // Ends the game after this many presented frames (--frames).
  void SetFrameLimit(std::int64_t frames) { frame_limit_ = frames; }

  // One ship, one game (files/ship_lock.hpp): true when this game now holds the ship of this
  // file name (any ship it held before is released), false when another running game holds it
  // or its lock file cannot be used (why tells so, in words that follow the ship's name). A
  // lock file that cannot be made does not refuse play: true, with why
  // saying that the ship is flown unlocked; else why is empty. Held until this Media ends.
  bool LockShip(std::string_view ship_file_name, std::string& why);
  // Hands the display the saving of the ship for a page that may be closed unannounced
  // (Display::SaveShipWhenHidden). The function must outlive its use.
  void SaveShipWhenHidden(std::function<std::string()> save) {
    display_->SaveShipWhenHidden(std::move(save));
  }

  // Every examined keyboard and mouse state is also handed to this log (a recording).
  void RecordInputTo(std::unique_ptr<InputLog> recorder) { recorder_ = std::move(recorder); }
  // ... and to this one too, the caller's (the game kept in replays/), from now on; nullptr
  // stops it. Its end and its closing are the caller's.
  void AlsoRecordInputTo(InputLog* log) { kept_log_ = log; }
  // The game goes on from a start made elsewhere (the replay of a game kept after the
  // launcher): these keys are held, with no press seen, and the pointer is there, as the
  // recorded game's first examinations found them.
  void BeginWith(const KeyStates& held, PointerPosition pointer);
  // F12 takes no screenshot: a replay writes nothing of the player's.
  void TakeNoScreenshots() { screenshots_taken_ = false; }
  // Ends the recording with the way the game ended (so that its replay ends alike) and closes
  // it; false when it could not be written completely, with the reason in why when given.
  bool FinishRecording(LoopEnd end, std::string* why = nullptr);

  // Watching a recording as a film (media/film_director.hpp): while a director is set it decides
  // what is presented and when, and obeys the viewer; nothing is presented, heard or written
  // as a screenshot by the media layer itself. nullptr ends that. It must outlive its use.
  void DirectFilm(FilmDirector* director) { film_ = director; }
  // The frame loop tells its top to the director (FilmDirector::AtFrameLoopTop).
  void FrameLoopTop() {
    if (film_ != nullptr) film_->AtFrameLoopTop();
  }
  // The display the film presents on and takes the viewer's commands from.
  Display& FilmDisplay() { return *display_; }
  // What the media layer holds of a game at the top of its frame loop: everything a later frame
  // reads, apart from the back buffer's pixels, which every frame first clears.
  struct FilmPoint {
    std::int64_t frames_presented = 0;
    std::optional<std::int64_t> frame_limit;
    Keyboard keyboard;
    Mouse mouse;
    KeyEvents key_events;
    bool focus_lost = false;
    int key_to_press = 0;
    std::int64_t press_after_frame = 0;
    bool screenshot_asked = false;
    bool sound_held = false;
    std::int64_t keyboard_examinations = 0;
    Canvas::Pen pen;
    std::shared_ptr<const InputSource> script;  // where the input script stands, if there is one
  };
  FilmPoint SaveFilmPoint() const;
  // Goes back to the point: the script too becomes a copy of the one kept there.
  void RestoreFilmPoint(const FilmPoint& point);

 private:
  void FilmFrame(bool flipped);

  void TakeAskedScreenshot();
  void MixSound();

  std::unique_ptr<Display> display_;
  std::unique_ptr<InputSource> script_;
  InputSource* input_;
  std::unique_ptr<InputLog> recorder_;
  InputLog* kept_log_ = nullptr;
  bool screenshots_taken_ = true;
  Keyboard keyboard_;
  Mouse mouse_;
  std::int64_t frames_presented_ = 0;
  std::optional<std::int64_t> frame_limit_;
  bool screenshot_asked_ = false;  // F12 went down since the last flip
  KeyEvents key_events_;
  bool focus_lost_ = false;  // at the last examination of the keyboard
  int key_to_press_ = 0;     // PressKeyOnce: a key an examination will find pressed; 0: none
  std::int64_t press_after_frame_ = 0;  // ... the first one after this many presented frames
  ShipLock ship_lock_;
  SoundSource* sound_ = nullptr;
  bool sound_held_ = false;
  std::vector<std::int16_t> sound_frame_;
  std::int64_t keyboard_examinations_ = 0;
  FilmDirector* film_ = nullptr;
  InputMode input_mode_ = InputMode::Windows;
  KeyBindings bindings_;
  bool input_aside_ = false;  // an InputSetAside lives: nothing is recorded
};

}  // namespace starvane
