// The browser's backend (STARVANE_BACKEND=web): the real screen of the browser build. The 800 x
// 600 back buffer goes on the page's canvas, scaled by the desktop's arithmetic
// (media/screen_fit.hpp) and paced by the desktop's frame pacer, with the page's keyboard (keys
// labelled by the player's layout), mouse and focus, the sound through Web Audio, notices over
// the picture, the player's bindings in force (media/live_keys.hpp), the ship held for one page of
// the browser at a time (HoldShip) and saved whenever the page is hidden (SaveShipWhenHidden). The
// page's own script (media/web/page/starvane-page.js) listens to the browser's events and keeps
// what they bring until the game asks; the game's loops block as on the desktop, and every wait
// here is a sleep that hands the browser back its turn (the build unwinds the game's stack to the
// browser's event loop and rewinds it after). While a recording is watched as a film (--watch), the
// page's own controls steer it: they send "W" lines among the events, which become film commands
// and never the game's keys, and every frame the film presents updates them (page.film). Game
// controllers come through the page (the Gamepad API, polled: "P" lines). On a touch screen the
// page's own controls (media/web/page/starvane-touch.js) hold the game's keys themselves ("G"
// lines, TakeTouchLine), and a text field that wants typing asks the page for the phone's
// keyboard (WantTextInput). It lacks a close that asks first (a page is closed without a word,
// which is why the ship is saved as the page is hidden): CloseRequested is true only once the
// viewer of a film closed it (Escape). The page itself switches to the full screen on Alt+Enter.

#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/rounding.hpp"
#include "base/text_numbers.hpp"
#include "base/version.hpp"
#include "media/dom_keys.hpp"
#include "media/film_controls.hpp"
#include "media/frame_pacer.hpp"
#include "media/input_mode.hpp"
#include "media/key_bindings.hpp"
#include "media/keys.hpp"
#include "media/live_keys.hpp"
#include "media/real_screen.hpp"
#include "media/screen_fit.hpp"

// The page's side of the screen (media/web/page/starvane-page.js holds each one's work).
EM_JS(void, starvane_page_stage, (int* out), { Module.page.stage(out); });
EM_JS(void, starvane_page_show,
      (const void* pixels, int width, int height, int prescale, int smooth, int x, int y,
       int picture_width, int picture_height),
      {
        Module.page.show(pixels, width, height, prescale, smooth, x, y, picture_width,
                         picture_height);
      });
EM_JS(int, starvane_page_take_events, (char* buffer, int size),
      { return Module.page.takeEvents(buffer, size); });
EM_JS(void, starvane_page_mouse, (int* out), { Module.page.mouse(out); });
EM_JS(int, starvane_page_pending, (), { return Module.page.pending(); });
EM_JS(void, starvane_page_title, (const char* title), { Module.page.title(UTF8ToString(title)); });
EM_JS(void, starvane_page_notice, (const char* text), { Module.page.notice(UTF8ToString(text)); });
EM_JS(int, starvane_page_key_label, (const char* code, char* buffer, int size),
      { return Module.page.keyLabel(UTF8ToString(code), buffer, size); });
EM_JS(void, starvane_page_sound, (const std::int16_t* samples, int count),
      { Module.page.sound(samples, count); });
EM_JS(void, starvane_page_frame_shown, (double work_milliseconds),
      { Module.page.frameShown(work_milliseconds); });
EM_JS(void, starvane_page_text_input, (int on), { Module.page.textInput(on); });
EM_JS(void, starvane_page_input_mode, (int mode), { Module.page.inputMode(mode); });
EM_JS(void, starvane_page_keep_files, (), { Module.page.keepFiles(); });
EM_JS(void, starvane_page_film, (double frame, double length, int quarters, int paused, int ended),
      { Module.page.film(frame, length, quarters, paused, ended); });
// 1: the ship of this key is now this page's, 0: another page holds it, -1: the browser keeps
// no locks (Web Locks) for this page.
EM_ASYNC_JS(int, starvane_page_hold_ship, (const char* key),
            { return await Module.page.holdShip(UTF8ToString(key)); });

// The game's version, which the page shows in a corner of its bar before the game starts.
extern "C" EMSCRIPTEN_KEEPALIVE const char* starvane_version() {
  static const std::string version(starvane::GameVersion());
  return version.c_str();
}

namespace starvane {
namespace {

// The page's clock (performance.now, in milliseconds since the page was opened) in nanoseconds;
// a sleep gives the browser its turn until the deadline.
class PageClock final : public PacingClock {
 public:
  std::int64_t NowNanoseconds() override {
    const double now = emscripten_get_now();
    const double whole = std::floor(now);
    return std::int64_t{RoundToInt(whole)} * 1'000'000 + RoundToInt((now - whole) * 1e6);
  }
  void SleepUntil(std::int64_t deadline) override {
    const std::int64_t rest = deadline - NowNanoseconds();
    if (rest <= 0) return;
    // The browser's timers count whole milliseconds and never fire early: round up.
    emscripten_sleep(static_cast<unsigned>((rest + 999'999) / 1'000'000));
  }
  void Relax() override {}
};

// What the page says of its stage (the area the picture may fill): its size in CSS pixels (the
// points the mouse is given in) and in device pixels.
struct Stage {
  int points_width = 0;
  int points_height = 0;
  int pixels_width = 0;
  int pixels_height = 0;
};

Stage PageStage() {
  std::array<int, 4> out{};
  starvane_page_stage(out.data());
  return {out[0], out[1], out[2], out[3]};
}

// The launcher's area on the stage: the largest whole multiple that fits (at least once),
// centred, square pixels.
ScreenFit FitArea(const Stage& stage, int width, int height) {
  const int factor =
      std::max(1, std::min(stage.pixels_width / width, stage.pixels_height / height));
  ScreenFit fit;
  fit.picture = {(stage.pixels_width - width * factor) / 2,
                 (stage.pixels_height - height * factor) / 2, width * factor, height * factor};
  fit.prescale = factor;
  return fit;
}

class WebScreen final : public Display, public InputSource {
 public:
  explicit WebScreen(ScreenOptions options) : options_(options) {}

  void ShowWindowArea(int width, int height, std::string_view title) override;
  bool OpenScreen(int width, int height, std::string_view title) override;
  void SetFrameRate(int frames_per_second) override { pacer_.SetFrameRate(frames_per_second); }
  void Present(const Canvas& canvas) override;
  bool WaitForWindowMessage(int most_milliseconds) override;
  bool CloseRequested() const override { return film_closed_; }
  InputSource& LiveInput() override { return *this; }
  std::string KeyLabel(int code) const override;
  ShipHold HoldShip(std::string_view key) override;
  void SaveShipWhenHidden(std::function<std::string()> save) override {
    save_ship_ = std::move(save);
  }
  void ShowNotice(std::string_view text) override;
  // The page shows the phone's keyboard while a text field has the typing, and the touch
  // controls that belong to what the keys mean now (the pause's, the STATS page's, flight's).
  void WantTextInput(bool wanted) override { starvane_page_text_input(wanted ? 1 : 0); }
  void SetInputMode(InputMode mode) override {
    live_keys_.SetMode(mode);
    starvane_page_input_mode(static_cast<int>(mode));
  }
  // The controls change with the picture they belong to: Present shows both, after its wait.
  void ShowFilm(const FilmState& state) override { film_state_ = state; }
  std::vector<FilmCommand> TakeFilmCommands() override { return std::exchange(film_commands_, {}); }
  // The page plays the frame's sound through Web Audio once the player has let it.
  void QueueSound(std::span<const std::int16_t> samples) override {
    starvane_page_sound(samples.data(), static_cast<int>(samples.size()));
  }

  void SetKeyBindings(const KeyBindings& bindings) override { live_keys_.SetBindings(bindings); }
  // The page fills its window whatever the choice (its Full screen button chooses the full
  // screen): only the scaling is the player's here. The next frame is shown with it.
  void ChangeScreen(const ScreenOptions& options) override {
    options_.scale = options.scale;
    image_lost_ = true;
  }

  bool CaptureKeyboard(std::int64_t, KeyStates& keys) override {
    // On the game's screen a key that went down since the last capture shows as down in this
    // one, even when it was let go again before it (the browser may hand several events over
    // between two frames). The launcher reads the ordered events instead, which the states must
    // then follow exactly.
    live_keys_.Capture(keys);
    return true;
  }
  MouseInput CaptureMouse(std::int64_t frames_presented) override;
  KeyEvents CaptureKeyEvents(std::int64_t) override;
  bool CaptureFocusLost(std::int64_t) override { return std::exchange(focus_lost_, false); }
  void MouseExaminedAt(PointerPosition position) override { game_mouse_ = position; }

 private:
  void ProcessPageEvents();
  void TakeEventLine(std::string_view line);
  void TakeTouchLine(std::string_view line);
  void QueueKeyEvent(KeyEvent event);
  void QueueFilmCommand(std::string_view line);
  void SaveShipNow();
  ScreenFit CurrentFit(const Stage& stage) const;

  ScreenOptions options_;
  FramePacer pacer_;
  PageClock clock_;
  std::vector<std::uint32_t> rgba_ =
      std::vector<std::uint32_t>(std::size_t{kScreenWidth} * kScreenHeight);
  LiveKeys live_keys_;  // the keys held (the page's are positions), as the game's keys
  KeyEvents pending_key_events_;
  std::vector<FilmCommand> film_commands_;
  std::optional<FilmState> film_state_;  // ShowFilm's, for the next picture presented
  bool film_closed_ = false;
  bool focus_lost_ = false;
  bool image_lost_ = false;
  int area_width_ = 0;  // the launcher's area, while it is shown; 0 on the game's screen
  int area_height_ = 0;
  // Where the page's pointer was last seen on the stage, in CSS pixels, and the game's mouse.
  std::optional<PointerPosition> pointer_point_;
  std::optional<PointerPosition> page_pointer_;  // as the page last told it
  PointerPosition game_mouse_;
  std::array<bool, 3> buttons_{};
  std::int32_t pending_wheel_ = 0;
  double frame_end_ = -1;  // when the last Present returned (ms), for the page's timing hook
  std::function<std::string()> save_ship_;
};

ScreenFit WebScreen::CurrentFit(const Stage& stage) const {
  if (area_width_ > 0) return FitArea(stage, area_width_, area_height_);
  return FitScreen(stage.pixels_width, stage.pixels_height, options_.scale);
}

void WebScreen::ShowWindowArea(int width, int height, std::string_view title) {
  area_width_ = std::clamp(width, 1, kScreenWidth);
  area_height_ = std::clamp(height, 1, kScreenHeight);
  live_keys_.HoldKeyboardTaps(false);
  starvane_page_title(std::string(title).c_str());
  ProcessPageEvents();
}

bool WebScreen::OpenScreen(int, int, std::string_view title) {
  area_width_ = 0;
  area_height_ = 0;
  pending_key_events_.clear();
  live_keys_.HoldKeyboardTaps(true);
  starvane_page_title(std::string(title).c_str());
  ProcessPageEvents();
  return true;
}

void WebScreen::Present(const Canvas& canvas) {
  const int width = area_width_ > 0 ? area_width_ : kScreenWidth;
  const int height = area_width_ > 0 ? area_height_ : kScreenHeight;
  // RGB565 to the page's RGBA bytes (little-endian words: red in the lowest byte), each 5- or
  // 6-bit channel widened by repeating its top bits, as a display would show it.
  const auto& pixels = canvas.Pixels();
  std::size_t out = 0;
  for (int y = 0; y < height; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * kScreenWidth;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[row + static_cast<std::size_t>(x)];
      const std::uint32_t r = (p >> 11) & 0x1F;
      const std::uint32_t g = (p >> 5) & 0x3F;
      const std::uint32_t b = p & 0x1F;
      rgba_[out++] = ((r << 3) | (r >> 2)) | (((g << 2) | (g >> 4)) << 8) |
                     (((b << 3) | (b >> 2)) << 16) | 0xFF000000u;
    }
  }
  // The frame's work, for the page's timing hook: from the last frame's end to this one's wait,
  // and the presenting after it.
  const double converted = emscripten_get_now();
  pacer_.WaitForNextFrame(clock_);
  const double shown = emscripten_get_now();
  const Stage stage = PageStage();
  if (stage.pixels_width > 0 && stage.pixels_height > 0) {
    const ScreenFit fit = CurrentFit(stage);
    starvane_page_show(rgba_.data(), width, height, fit.prescale, fit.smooth ? 1 : 0, fit.picture.x,
                       fit.picture.y, fit.picture.width, fit.picture.height);
  }
  if (film_state_) {
    const FilmState film = *film_state_;
    film_state_.reset();
    starvane_page_film(static_cast<double>(film.frame), static_cast<double>(film.length),
                       film.quarters, film.paused ? 1 : 0, film.ended ? 1 : 0);
  }
  ProcessPageEvents();
  const double ended = emscripten_get_now();
  if (frame_end_ >= 0) starvane_page_frame_shown((converted - frame_end_) + (ended - shown));
  frame_end_ = ended;
}

bool WebScreen::WaitForWindowMessage(int most_milliseconds) {
  // The browser wakes nobody when an event comes: look every few milliseconds.
  const double until = emscripten_get_now() + std::max(0, most_milliseconds);
  while (starvane_page_pending() == 0 && emscripten_get_now() < until) emscripten_sleep(5);
  ProcessPageEvents();
  return std::exchange(image_lost_, false);
}

void WebScreen::ProcessPageEvents() {
  std::array<char, 8192> buffer{};
  for (int round = 0; round < 64; ++round) {
    const int length = starvane_page_take_events(buffer.data(), static_cast<int>(buffer.size()));
    if (length <= 0) break;
    std::string_view text(buffer.data(), static_cast<std::size_t>(length));
    while (!text.empty()) {
      const std::size_t end = text.find('\n');
      TakeEventLine(text.substr(0, end));
      text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
  }
  std::array<int, 8> mouse{};
  starvane_page_mouse(mouse.data());
  // The pointer counts where it moved: a controller may have moved the game's arrow away from
  // where it rests (CaptureMouse).
  if (mouse[0] != 0 &&
      (!page_pointer_ || page_pointer_->x != mouse[1] || page_pointer_->y != mouse[2])) {
    pointer_point_ = page_pointer_ = PointerPosition{mouse[1], mouse[2]};
  }
  for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i] = mouse[3 + i] != 0;
  pending_wheel_ = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(std::int64_t{pending_wheel_} + mouse[6], -1000000, 1000000));
}

// One line of the page's events: "D" or "U" and a key's position name (KeyboardEvent.code),
// "T" and typed text, "P" a game controller's input ("PD" or "PU" and its key code), "F" the page
// lost the focus (hidden or left), "R" the stage was resized, "S" the page was hidden and may be
// closed unannounced, "W" a film control (QueueFilmCommand), "G" a touch control (TakeTouchLine).
void WebScreen::TakeEventLine(std::string_view line) {
  if (line.empty()) return;
  const std::string_view rest = line.substr(1);
  switch (line[0]) {
    case 'D':
    case 'U': {
      const int key = KeyCodeOfDomCode(rest);
      if (key <= 0) return;
      const bool down = line[0] == 'D';
      live_keys_.SetKey(key, down);
      QueueKeyEvent({down ? KeyEvent::Kind::Down : KeyEvent::Kind::Up, key});
      return;
    }
    case 'T':
      QueueKeyEvent({KeyEvent::Kind::Text, 0, std::string(rest)});
      return;
    case 'P': {
      const auto code = ParseWhole<int>(rest.empty() ? rest : rest.substr(1));
      if (!rest.empty() && code && IsPadKey(*code)) live_keys_.SetKey(*code, rest[0] == 'D');
      return;
    }
    case 'F':
      // The browser tells of no release of the keys held when the page lost the focus: they
      // are let go here, and the game pauses (media/media.hpp, FocusLost).
      focus_lost_ = true;
      live_keys_.LetGoOfKeyboard();
      return;
    case 'R':
      image_lost_ = true;
      return;
    case 'S':
      SaveShipNow();
      return;
    case 'W':
      QueueFilmCommand(rest);
      return;
    case 'G':
      TakeTouchLine(rest);
      return;
    default:
      return;
  }
}

KeyEvents WebScreen::CaptureKeyEvents(std::int64_t) {
  return live_keys_.EventsThatMeanWhatTheySay(std::exchange(pending_key_events_, {}));
}

// A touch control: "D" or "U" and the decimal code of a game key (media/keys.hpp) held or let
// go, already the game's own key, which no binding translates; "N" the weapon after the one
// chosen (1, 2, 3, then 1 again), pressed once. A code outside the keyboard's is dropped: the
// controller's codes never reach the game.
void WebScreen::TakeTouchLine(std::string_view line) {
  if (line == "N") {
    live_keys_.NextWeapon();
    return;
  }
  if (line.empty() || (line[0] != 'D' && line[0] != 'U')) return;
  const std::optional<int> key = ParseWhole<int>(line.substr(1));
  if (!key || *key <= 0 || *key >= kPadKeyFirst) return;
  const bool down = line[0] == 'D';
  live_keys_.SetGameKey(*key, down);
  QueueKeyEvent({down ? KeyEvent::Kind::Down : KeyEvent::Kind::Up, *key});
}

void WebScreen::QueueKeyEvent(KeyEvent event) {
  if (area_width_ > 0 && pending_key_events_.size() < 4096) {
    pending_key_events_.push_back(std::move(event));
  }
}

// The page's film controls: "p" pause or play, "s" one frame forward, "-" and "+" slower and
// faster, "v" and a speed in quarters, "k" and a frame to seek to, "b" and frames to seek by
// (negative: back), "q" the viewer closes the film. A line that says nothing else is dropped.
void WebScreen::QueueFilmCommand(std::string_view line) {
  if (line.empty() || film_commands_.size() >= 256) return;
  using Kind = FilmCommand::Kind;
  const std::string_view value = line.substr(1);
  const auto with_value = [&](Kind kind) {
    if (const auto number = ParseWhole<std::int64_t>(value))
      film_commands_.push_back({kind, *number});
  };
  switch (line[0]) {
    case 'p':
      film_commands_.push_back({Kind::TogglePause});
      return;
    case 's':
      film_commands_.push_back({Kind::Step});
      return;
    case '-':
      film_commands_.push_back({Kind::Slower});
      return;
    case '+':
      film_commands_.push_back({Kind::Faster});
      return;
    case 'v':
      with_value(Kind::SetSpeed);
      return;
    case 'k':
      with_value(Kind::Seek);
      return;
    case 'b':
      with_value(Kind::SeekBy);
      return;
    case 'q':
      film_closed_ = true;
      return;
    default:
      return;
  }
}

// The browser knows the player's layout (where it tells it: navigator.keyboard) for the keys
// that type a character; the others, and every key where it does not tell, get the US label.
// The page shows a notice in an element of its own over the canvas, never in the picture.
void WebScreen::ShowNotice(std::string_view text) {
  starvane_page_notice(std::string(text).c_str());
}

std::string WebScreen::KeyLabel(int code) const {
  const std::string dom_code(DomCodeOfKeyCode(code));
  if (dom_code.empty()) return UsKeyLabel(code);
  std::array<char, 64> buffer{};
  const int length =
      starvane_page_key_label(dom_code.c_str(), buffer.data(), static_cast<int>(buffer.size()));
  if (length <= 0) return UsKeyLabel(code);
  std::string label(buffer.data(), static_cast<std::size_t>(length));
  // A letter as its key cap shows it, capital.
  if (label.size() == 1 && label[0] >= 'a' && label[0] <= 'z')
    label[0] = static_cast<char>(label[0] - 'a' + 'A');
  return label;
}

// Pages of one browser share its files: the page asks the browser for a lock per ship that all
// its pages see (Web Locks), held until this game takes another ship or ends.
Display::ShipHold WebScreen::HoldShip(std::string_view key) {
  const int held = starvane_page_hold_ship(std::string(key).c_str());
  return held > 0 ? ShipHold::Held : held == 0 ? ShipHold::Refused : ShipHold::NotKept;
}

// The page was hidden (it may be closed next, without a word): the ship is saved as it stands
// (the page's events are taken between two frames, where an Escape would save the same), and the
// page writes it to IndexedDB at once. What cannot be saved is said as at the game's end.
void WebScreen::SaveShipNow() {
  if (!save_ship_) return;
  if (const std::string problem = save_ship_(); !problem.empty()) {
    std::fprintf(stderr, "starvane: %s\n", problem.c_str());
  }
  starvane_page_keep_files();
}

MouseInput WebScreen::CaptureMouse(std::int64_t) {
  MouseInput input;
  const PadPointer pad = live_keys_.CapturePadPointer();
  if (pad.dx != 0 || pad.dy != 0) pointer_point_.reset();  // until the mouse moves again
  if (pointer_point_) {
    const Stage stage = PageStage();
    const ScreenFit fit = CurrentFit(stage);
    const int x = OutputPixelOfPoint(pointer_point_->x, stage.points_width, stage.pixels_width);
    const int y = OutputPixelOfPoint(pointer_point_->y, stage.points_height, stage.pixels_height);
    if (area_width_ > 0) {
      // The launcher follows the pointer in pixels of its area, while it is over the area.
      const int ax = x - fit.picture.x;
      const int ay = y - fit.picture.y;
      if (ax >= 0 && ay >= 0 && ax < fit.picture.width && ay < fit.picture.height) {
        input.pointer = PointerPosition{ax / fit.prescale, ay / fit.prescale};
      }
    } else {
      // As on the desktop: the movement that takes the game's arrow to the pixel pointed at.
      const PointerPosition target = CanvasPixelAt(fit.picture, x, y);
      input.dx = target.x - game_mouse_.x;
      input.dy = target.y - game_mouse_.y;
    }
  }
  if (area_width_ == 0) {
    input.dx += pad.dx;
    input.dy += pad.dy;
  }
  input.buttons = buttons_;
  input.buttons[0] = input.buttons[0] || pad.left_button;
  input.wheel = std::exchange(pending_wheel_, 0);
  return input;
}

}  // namespace

std::unique_ptr<Display> ConnectRealScreen(const ScreenOptions& options, std::string&) {
  return std::make_unique<WebScreen>(options);
}

void DisconnectRealScreens() {}

}  // namespace starvane
