// The real screen through SDL2: the desktop's full screen (or a window) showing the 800 x 600
// back buffer scaled to fit, paced at the game's own frame rate, with the real keyboard and
// mouse.

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/rounding.hpp"
#include "media/frame_pacer.hpp"
#include "media/keyboard.hpp"
#include "media/real_screen.hpp"
#include "media/screen_fit.hpp"
#include "media/sdl/sdl_keys.hpp"

namespace starvane {
namespace {

class SdlScreen final : public Display, public InputSource {
 public:
  explicit SdlScreen(ScreenOptions options) : options_(std::move(options)) {}
  ~SdlScreen() override;

  void ShowWindowArea(int width, int height, std::string_view title) override;
  bool OpenScreen(int width, int height, std::string_view title) override;
  void SetFrameRate(int frames_per_second) override { pacer_.SetFrameRate(frames_per_second); }
  void Present(const Canvas& canvas) override;
  bool CloseRequested() const override { return close_requested_; }
  InputSource& LiveInput() override { return *this; }

  // The state as of the last processing of window messages: it changes only inside Present.
  bool CaptureKeyboard(std::int64_t frames_presented, KeyStates& keys) override;
  MouseInput CaptureMouse(std::int64_t frames_presented) override;
  KeyEvents CaptureKeyEvents(std::int64_t frames_presented) override;
  bool WaitForWindowMessage(int most_milliseconds) override;

 private:
  void QueueKeyEvent(KeyEvent event);
  bool CreateRenderer();
  void ProcessWindowMessages();
  void ToggleFullScreen();
  double PointsPerPixel();  // window points per pixel of the game image

  ScreenOptions options_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  FramePacer pacer_;
  SteadyClock clock_;
  bool close_requested_ = false;
  ShortcutKeys shortcut_keys_;  // Return of Alt+Enter: the game must not see it (it would dash)
  double pending_dx_ = 0;       // mouse movement in game pixels, fractions kept
  double pending_dy_ = 0;
  std::array<bool, 3> buttons_{};
  // Buttons that went down since the last capture: a click quicker than a frame (a tap on a
  // touchpad, a scripted click) still shows as down at one capture and up at the next.
  std::array<bool, 3> pressed_since_capture_{};
  std::int32_t pending_wheel_ = 0;
  // While a window area is shown (the launcher), the system's pointer is shown and followed by
  // its position, and key presses (with their repeats), releases and typed text are collected
  // in their order.
  int area_width_ = 0;
  int area_height_ = 0;
  std::optional<PointerPosition> pointer_;
  KeyEvents pending_key_events_;
  bool image_lost_ = false;  // the window was uncovered or resized since the last wait
};

SdlScreen::~SdlScreen() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  SDL_Quit();
}

bool SdlScreen::CreateRenderer() {
  // Vsync only keeps the image from tearing; the pacer sets the game's pace.
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
  if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (renderer_ == nullptr) return false;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                               kScreenWidth, kScreenHeight);
  return texture_ != nullptr;
}

void SdlScreen::ShowWindowArea(int width, int height, std::string_view title) {
  area_width_ = std::clamp(width, 1, kScreenWidth);
  area_height_ = std::clamp(height, 1, kScreenHeight);
  const std::string caption(title);
  if (window_ == nullptr) {
    window_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               area_width_, area_height_, SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr || !CreateRenderer()) return;
  }
  SDL_ShowCursor(SDL_ENABLE);
  SDL_SetRelativeMouseMode(SDL_FALSE);
  SDL_StartTextInput();
  ProcessWindowMessages();
}

bool SdlScreen::OpenScreen(int width, int height, std::string_view title) {
  const std::string caption(title);
  const Uint32 mode = options_.windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (window_ == nullptr) {
    window_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               width, height, mode | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr || !CreateRenderer()) return false;
  } else {
    // The launcher's window becomes the game's screen.
    if (renderer_ == nullptr) return false;
    SDL_SetWindowTitle(window_, caption.c_str());
    SDL_SetWindowSize(window_, width, height);
    SDL_SetWindowResizable(window_, SDL_TRUE);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    if (!options_.windowed) SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  area_width_ = 0;
  area_height_ = 0;
  pointer_.reset();
  pending_key_events_.clear();
  SDL_StopTextInput();
  SDL_ShowCursor(SDL_DISABLE);
  SDL_SetRelativeMouseMode(SDL_TRUE);
  ProcessWindowMessages();
  return true;
}

void SdlScreen::Present(const Canvas& canvas) {
  if (renderer_ != nullptr) {
    SDL_UpdateTexture(texture_, nullptr, canvas.Pixels().data(), kScreenWidth * 2);
    int output_width = 0;
    int output_height = 0;
    SDL_GetRendererOutputSize(renderer_, &output_width, &output_height);
    const Viewport fit = FitScreen(output_width, output_height);
    const SDL_Rect target{fit.x, fit.y, fit.width, fit.height};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    if (area_width_ > 0) {
      // The launcher's window shows its own area of the back buffer, filling the window.
      const SDL_Rect area{0, 0, area_width_, area_height_};
      SDL_RenderCopy(renderer_, texture_, &area, nullptr);
    } else {
      SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    }
    pacer_.WaitForNextFrame(clock_);
    SDL_RenderPresent(renderer_);
  }
  ProcessWindowMessages();
}

double SdlScreen::PointsPerPixel() {
  int points_width = 0;
  int points_height = 0;
  int pixels_width = 0;
  int pixels_height = 0;
  SDL_GetWindowSize(window_, &points_width, &points_height);
  SDL_GetRendererOutputSize(renderer_, &pixels_width, &pixels_height);
  const Viewport fit = FitScreen(pixels_width, pixels_height);
  if (fit.width <= 0 || pixels_width <= 0) return 1.0;
  return static_cast<double>(fit.width) / kScreenWidth * points_width / pixels_width;
}

void SdlScreen::ProcessWindowMessages() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_QUIT:
        close_requested_ = true;
        break;
      case SDL_KEYDOWN:
        if (event.key.keysym.scancode == SDL_SCANCODE_RETURN && (event.key.keysym.mod & KMOD_ALT)) {
          if (event.key.repeat) break;
          shortcut_keys_.Take(kKeyReturn);
          ToggleFullScreen();
          break;
        }
        QueueKeyEvent({KeyEvent::Kind::Down, KeyCodeOfScancode(event.key.keysym.scancode)});
        break;
      case SDL_KEYUP:
        if (event.key.keysym.scancode == SDL_SCANCODE_RETURN) shortcut_keys_.Release(kKeyReturn);
        QueueKeyEvent({KeyEvent::Kind::Up, KeyCodeOfScancode(event.key.keysym.scancode)});
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
            event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
          image_lost_ = true;
        }
        break;
      case SDL_MOUSEMOTION: {
        if (area_width_ > 0) {
          // The launcher follows the system's pointer where it is, in pixels of its area.
          int window_width = 0;
          int window_height = 0;
          SDL_GetWindowSize(window_, &window_width, &window_height);
          const double x = window_width > 0
                               ? static_cast<double>(event.motion.x) * area_width_ / window_width
                               : 0;
          const double y = window_height > 0
                               ? static_cast<double>(event.motion.y) * area_height_ / window_height
                               : 0;
          pointer_ = PointerPosition{RoundToInt(std::floor(x)), RoundToInt(std::floor(y))};
          pending_dx_ = 0;
          pending_dy_ = 0;
          break;
        }
        // The image may be scaled: the pointer in the panel moves as far on the screen as the
        // player's hand moves the desktop's pointer.
        const double scale = PointsPerPixel();
        pending_dx_ += event.motion.xrel / scale;
        pending_dy_ += event.motion.yrel / scale;
        break;
      }
      case SDL_MOUSEWHEEL: {
        const std::int64_t steps = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED
                                       ? -std::int64_t{event.wheel.y}
                                       : std::int64_t{event.wheel.y};
        pending_wheel_ = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(pending_wheel_ + steps, -1000000, 1000000));
        break;
      }
      case SDL_TEXTINPUT:
        QueueKeyEvent({KeyEvent::Kind::Text, 0, event.text.text});
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        // SDL numbers the buttons left, middle, right; the game left, right, middle.
        const int game_button = event.button.button == SDL_BUTTON_LEFT     ? 1
                                : event.button.button == SDL_BUTTON_RIGHT  ? 2
                                : event.button.button == SDL_BUTTON_MIDDLE ? 3
                                                                           : 0;
        if (game_button != 0) {
          const auto index = static_cast<std::size_t>(game_button - 1);
          buttons_[index] = event.type == SDL_MOUSEBUTTONDOWN;
          if (buttons_[index]) pressed_since_capture_[index] = true;
        }
        break;
      }
      default:
        break;
    }
  }
}

void SdlScreen::ToggleFullScreen() {
  const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool SdlScreen::CaptureKeyboard(std::int64_t, KeyStates& keys) {
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  keys.fill(0);
  for (int scancode = 0; scancode < count; ++scancode) {
    if (!state[scancode]) continue;
    const int code = KeyCodeOfScancode(static_cast<SDL_Scancode>(scancode));
    if (code > 0) keys[static_cast<std::size_t>(code)] = 1;
  }
  shortcut_keys_.HideFrom(keys);
  return true;
}

MouseInput SdlScreen::CaptureMouse(std::int64_t) {
  MouseInput input;
  const double whole_dx = std::trunc(pending_dx_);
  const double whole_dy = std::trunc(pending_dy_);
  input.dx = RoundToInt(whole_dx);
  input.dy = RoundToInt(whole_dy);
  pending_dx_ -= whole_dx;
  pending_dy_ -= whole_dy;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    input.buttons[i] = buttons_[i] || pressed_since_capture_[i];
  }
  pressed_since_capture_ = {};
  input.pointer = std::exchange(pointer_, std::nullopt);
  input.wheel = std::exchange(pending_wheel_, 0);
  return input;
}

void SdlScreen::QueueKeyEvent(KeyEvent event) {
  const bool known = event.kind == KeyEvent::Kind::Text || event.key > 0;
  if (area_width_ > 0 && known && pending_key_events_.size() < 4096) {
    pending_key_events_.push_back(std::move(event));
  }
}

KeyEvents SdlScreen::CaptureKeyEvents(std::int64_t) {
  return std::exchange(pending_key_events_, {});
}

bool SdlScreen::WaitForWindowMessage(int most_milliseconds) {
  if (most_milliseconds > 0) SDL_WaitEventTimeout(nullptr, most_milliseconds);
  ProcessWindowMessages();
  return std::exchange(image_lost_, false);
}

}  // namespace

std::unique_ptr<Display> ConnectRealScreen(const ScreenOptions& options, std::string& error) {
  // Without a desktop session there is nothing to show a window on (a console display can still
  // be chosen by name with SDL_VIDEODRIVER).
  if (SDL_getenv("DISPLAY") == nullptr && SDL_getenv("WAYLAND_DISPLAY") == nullptr &&
      SDL_getenv("SDL_VIDEODRIVER") == nullptr) {
    error = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    return nullptr;
  }
  // The game catches SIGINT, SIGTERM, SIGHUP and SIGQUIT itself, to end like Escape.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  // Without any display SDL falls back to drivers that show nothing. Those count only when
  // asked for by name (SDL_VIDEODRIVER), never as a screen the player could see.
  const std::string_view driver = SDL_GetCurrentVideoDriver();
  if ((driver == "offscreen" || driver == "dummy") && SDL_getenv("SDL_VIDEODRIVER") == nullptr) {
    SDL_Quit();
    error = "no X11 or Wayland display was found";
    return nullptr;
  }
  return std::make_unique<SdlScreen>(options);
}

}  // namespace starvane
