// The desktop's backend (STARVANE_BACKEND=sdl): the real screen through SDL2. The desktop's full
// screen (or a window, Alt+Enter between them) shows the 800 x 600 back buffer scaled to fit
// (media/screen_fit.hpp), paced at the game's own frame rate, with the real keyboard (its keys
// labelled by the player's layout), the mouse, game controllers (sdl_pads.cpp), both made the
// game's keys by the player's bindings (media/live_keys.hpp), the
// sound through the audio device (sdl_sound.cpp), notices over the picture, a film's controls
// while one is watched (media/film_bar.hpp), and a lost focus told. The mouse is never captured:
// the STATS page's arrow goes where the system's pointer points, or where a controller moves it.
// STARVANE_FRAME_TIMES=1 in the environment reports, at the end, how far apart the frames were
// presented. It lacks what the desktop does not need: no ship hold across pages (the files' own
// locks keep two games apart) and no saving when hidden (a window is closed by asking,
// CloseRequested, and the game then ends and saves as on Escape).

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/rounding.hpp"
#include "media/film_bar.hpp"
#include "media/frame_pacer.hpp"
#include "media/keyboard.hpp"
#include "media/live_keys.hpp"
#include "media/notice_picture.hpp"
#include "media/real_screen.hpp"
#include "media/screen_fit.hpp"
#include "media/sdl/sdl_keys.hpp"
#include "media/sdl/sdl_pads.hpp"
#include "media/sdl/sdl_sound.hpp"
#include "media/software_rasteriser.hpp"
#include "media/xrgb_pixels.hpp"

namespace starvane {
namespace {

// The times between presented frames, kept when STARVANE_FRAME_TIMES asks for them and summed
// up on standard error at the end: a measurement of the pacing, never read by the game.
class FrameTimes {
 public:
  FrameTimes() : wanted_(SDL_getenv("STARVANE_FRAME_TIMES") != nullptr) {}
  // passed_over: the name of an OpenGL drawn in software that SDL's software renderer replaced;
  // upload: the format the canvas is uploaded in.
  void Renderer(const SDL_RendererInfo& info, const std::string& passed_over, Uint32 upload) {
    if (!wanted_) return;
    bool rgb565 = false;
    for (Uint32 i = 0; i < info.num_texture_formats; ++i) {
      rgb565 = rgb565 || info.texture_formats[i] == SDL_PIXELFORMAT_RGB565;
    }
    const std::string how = upload != SDL_PIXELFORMAT_RGB565
                                ? std::string("widened to ") + SDL_GetPixelFormatName(upload)
                            : rgb565 ? "native"
                                     : "converted on upload";
    std::fprintf(stderr, "starvane: renderer %s%s%s, RGB565 textures %s\n", info.name,
                 passed_over.empty() ? "" : " instead of OpenGL on ", passed_over.c_str(),
                 how.c_str());
  }
  void Presented(SteadyClock& clock) {
    if (!wanted_) return;
    const std::int64_t now = clock.NowNanoseconds();
    if (last_ != 0 && intervals_.size() < 10'000'000) intervals_.push_back(now - last_);
    last_ = now;
  }
  ~FrameTimes() {
    if (intervals_.empty()) return;
    std::sort(intervals_.begin(), intervals_.end());
    auto at = [&](std::size_t permille) {
      return static_cast<double>(intervals_[(intervals_.size() - 1) * permille / 1000]) / 1e6;
    };
    std::fprintf(stderr,
                 "starvane: %zu frame intervals: median %.3f ms, 1st percentile %.3f ms, 99th "
                 "percentile %.3f ms, longest %.3f ms\n",
                 intervals_.size(), at(500), at(10), at(990), at(1000));
  }

 private:
  bool wanted_;
  std::int64_t last_ = 0;
  std::vector<std::int64_t> intervals_;
};

// A renderer for the window, with vsync where it can have it (vsync only keeps the image from
// tearing; the pacer sets the game's pace). index: SDL's number of the driver, -1 for its choice.
SDL_Renderer* CreateRendererWithDriver(SDL_Window* window, int index) {
  SDL_Renderer* renderer = SDL_CreateRenderer(window, index, SDL_RENDERER_PRESENTVSYNC);
  return renderer != nullptr ? renderer : SDL_CreateRenderer(window, index, 0);
}

// What the OpenGL driver calls the device that draws (GL_RENDERER), asked in the renderer's own
// context, which SDL's OpenGL renderers leave current; "" for a renderer that is not OpenGL.
std::string OpenGlDeviceName(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr) return "";
  if (std::string_view(info.name).substr(0, 6) != "opengl" ||
      SDL_GL_GetCurrentContext() == nullptr) {
    return "";
  }
  using GetString = const GLubyte*(APIENTRY*)(GLenum);
  const auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (get_string == nullptr) return "";
  const GLubyte* name = get_string(GL_RENDERER);
  return name != nullptr ? std::string(reinterpret_cast<const char*>(name)) : std::string();
}

int RenderDriverIndex(std::string_view wanted) {
  const int count = SDL_GetNumRenderDrivers();
  for (int index = 0; index < count; ++index) {
    SDL_RendererInfo info{};
    if (SDL_GetRenderDriverInfo(index, &info) == 0 && info.name != nullptr && info.name == wanted) {
      return index;
    }
  }
  return -1;
}

// SDL's first choice of renderer, except an OpenGL that the processor draws (Mesa's llvmpipe on
// a machine without a graphics driver, as under Xvfb): at 1920 x 1080 that costs more than a
// whole core and falls to about 15 frames a second on a busy machine, where SDL's software
// renderer, one linear pass written straight to the X server, keeps the pace at a fraction of
// the cost. A graphics card keeps its renderer, and so does a renderer the player names
// (SDL_RENDER_DRIVER). passed_over receives the name of the OpenGL device replaced.
SDL_Renderer* CreateCheapRenderer(SDL_Window* window, std::string& passed_over) {
  SDL_Renderer* renderer = CreateRendererWithDriver(window, -1);
  if (renderer == nullptr || SDL_GetHint(SDL_HINT_RENDER_DRIVER) != nullptr) return renderer;
  const std::string device = OpenGlDeviceName(renderer);
  const int software = RenderDriverIndex("software");
  if (!IsSoftwareRasteriser(device) || software < 0) return renderer;
  SDL_DestroyRenderer(renderer);
  renderer = CreateRendererWithDriver(window, software);
  if (renderer != nullptr) {
    passed_over = device;
    return renderer;
  }
  return CreateRendererWithDriver(window, -1);  // the software one failed: the GL after all
}

// The format the canvas is uploaded in. A graphics card takes its RGB565 pixels as they are.
// SDL's software renderer filters linearly only between surfaces of one format: from RGB565 it
// would convert the canvas, filter into a temporary picture of the output's size and copy that
// to the window, every frame. Uploaded in the window's own 32-bit format, it filters straight
// into the window, at about half the cost at 1920 x 1080.
Uint32 CanvasTextureFormat(SDL_Renderer* renderer, SDL_Window* window) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0 || (info.flags & SDL_RENDERER_SOFTWARE) == 0) {
    return SDL_PIXELFORMAT_RGB565;
  }
  const Uint32 window_format = SDL_GetWindowPixelFormat(window);
  const bool xrgb = window_format == SDL_PIXELFORMAT_RGB888;
  if (xrgb || window_format == SDL_PIXELFORMAT_ARGB8888) return window_format;
  return SDL_PIXELFORMAT_RGB565;
}

// The canvas widened row by row into a locked texture of 32-bit pixels.
void WidenCanvasInto(const Canvas& canvas, unsigned char* rows, int pitch) {
  const std::span<const std::uint16_t> pixels(canvas.Pixels());
  constexpr auto kWidth = static_cast<std::size_t>(kScreenWidth);
  const std::size_t height =
      std::min(static_cast<std::size_t>(kScreenHeight), pixels.size() / kWidth);
  for (std::size_t y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<Uint32*>(rows + static_cast<std::ptrdiff_t>(y) * pitch);
    WidenToXrgb8888(pixels.subspan(y * kWidth, kWidth), std::span<std::uint32_t>(row, kWidth));
  }
}

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
  void QueueSound(std::span<const std::int16_t> samples) override { sound_.Queue(samples); }
  std::string KeyLabel(int code) const override;
  void ShowNotice(std::string_view text) override;
  void ShowFilm(const FilmState& state) override;
  void ChangeScreen(const ScreenOptions& options) override;
  std::vector<FilmCommand> TakeFilmCommands() override { return std::exchange(film_commands_, {}); }
  void SetInputMode(InputMode mode) override { live_keys_.SetMode(mode); }
  void SetKeyBindings(const KeyBindings& bindings) override { live_keys_.SetBindings(bindings); }

  // The state as of the last processing of window messages: it changes only inside Present.
  bool CaptureKeyboard(std::int64_t frames_presented, KeyStates& keys) override;
  MouseInput CaptureMouse(std::int64_t frames_presented) override;
  KeyEvents CaptureKeyEvents(std::int64_t frames_presented) override;
  bool CaptureFocusLost(std::int64_t) override { return std::exchange(focus_lost_, false); }
  bool WaitForWindowMessage(int most_milliseconds) override;
  void MouseExaminedAt(PointerPosition position) override { game_mouse_ = position; }

 private:
  void QueueKeyEvent(KeyEvent event);
  bool CreateRenderer();
  void UploadCanvas(const Canvas& canvas);
  ScreenFit FitOutput();
  void DrawPicture();
  bool MakePrescaled(int factor);
  void ShowCursorWhereUseful();
  PointerPosition PointedCanvasPixel();
  void ProcessWindowMessages();
  void ToggleFullScreen();
  void SizeWindowToDesktop(int width, int height);
  void DrawNotice();
  void DrawFilmBar();
  std::optional<PointerPosition> OutputPixelOfWindowPoint(int x, int y);
  bool HandleFilmKey(const SDL_KeyboardEvent& key);
  void HandleFilmPointer(int x, int y, bool pressed);
  void GiveFilmCommand(FilmCommand command);
  void ResizeWindowArea(const std::string& caption);

  ScreenOptions options_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;  // the back buffer, RGB565 or widened (CanvasTextureFormat)
  Uint32 texture_format_ = SDL_PIXELFORMAT_RGB565;
  // The back buffer enlarged by a whole multiple, with nearest pixels, in the output's own
  // format: the sharp picture is this filtered linearly to its size.
  SDL_Texture* prescaled_ = nullptr;
  int prescaled_factor_ = 0;
  int largest_texture_ = 0;  // the renderer's longest texture side (0: no limit)
  // The enlargement is a render target on the graphics card. SDL's software renderer would
  // spend over 10 ms a frame on it (a converting nearest blit to 1600 x 1200 and a linear one
  // from there): it filters the canvas linearly to the picture's size in one pass instead.
  bool prescale_on_gpu_ = false;
  // The notice laid over the picture (media/notice_picture.hpp), when one is shown.
  SDL_Texture* notice_ = nullptr;
  bool notice_shown_ = false;
  // While a film is watched: its controls as last shown, their bar (drawn anew when they or the
  // bar's width change), the viewer's commands not yet taken, and whether the left button went
  // down on the timeline and is still held (a drag seeks as it goes).
  std::optional<FilmState> film_;
  SDL_Texture* film_bar_ = nullptr;
  int film_bar_width_ = 0;
  bool film_bar_stale_ = true;
  std::vector<FilmCommand> film_commands_;
  bool film_dragging_ = false;
  FramePacer pacer_;
  SteadyClock clock_;
  FrameTimes frame_times_;
  bool close_requested_ = false;
  ShortcutKeys shortcut_keys_;  // Return of Alt+Enter: the game must not see it (it would dash)
  SdlPads pads_;                // game controllers: their buttons and sticks hold pad keys
  LiveKeys live_keys_;          // the keys and pad keys held, as the game's keys
  SdlSound sound_;
  // Where the system's pointer was last seen over the window, in window points, and where the
  // game's mouse is: a capture on the game's screen moves the game's mouse to the pointer.
  std::optional<PointerPosition> pointer_point_;
  PointerPosition game_mouse_;
  bool mouse_examined_ = false;  // since the last frame (the STATS page is open)
  bool cursor_hidden_ = false;
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
  bool focus_lost_ = false;  // the window lost the focus or was minimised since the last capture
};

// The system's keyboard layout names the character the key at that position types, and SDL
// names keys that type none ("Left Ctrl", "Return", "Up") in words.
std::string SdlScreen::KeyLabel(int code) const {
  const SDL_Scancode scancode = ScancodeOfKeyCode(code);
  if (scancode == SDL_SCANCODE_UNKNOWN) return UsKeyLabel(code);
  const char* name = SDL_GetKeyName(SDL_GetKeyFromScancode(scancode));
  if (name == nullptr || *name == '\0') return UsKeyLabel(code);
  return name;
}

SdlScreen::~SdlScreen() {
  sound_.Close();
  if (notice_ != nullptr) SDL_DestroyTexture(notice_);
  if (film_bar_ != nullptr) SDL_DestroyTexture(film_bar_);
  if (prescaled_ != nullptr) SDL_DestroyTexture(prescaled_);
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  // SDL itself stays started for the next screen (ConnectRealScreen), and ends with the program.
}

bool SdlScreen::CreateRenderer() {
  std::string passed_over;
  renderer_ = CreateCheapRenderer(window_, passed_over);
  if (renderer_ == nullptr) return false;
  texture_format_ = CanvasTextureFormat(renderer_, window_);
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer_, &info) == 0) {
    prescale_on_gpu_ =
        (info.flags & SDL_RENDERER_TARGETTEXTURE) != 0 && (info.flags & SDL_RENDERER_SOFTWARE) == 0;
    frame_times_.Renderer(info, passed_over, texture_format_);
    const int width_limit = info.max_texture_width;
    const int height_limit = info.max_texture_height * kScreenWidth / kScreenHeight;
    largest_texture_ = width_limit > 0 && height_limit > 0 ? std::min(width_limit, height_limit)
                                                           : std::max(width_limit, height_limit);
  }
  // The canvas's pixels are uploaded as they are (a renderer that cannot take RGB565 converts
  // them once, on upload), or widened for SDL's software renderer (CanvasTextureFormat).
  texture_ = SDL_CreateTexture(renderer_, texture_format_, SDL_TEXTUREACCESS_STREAMING,
                               kScreenWidth, kScreenHeight);
  return texture_ != nullptr;
}

ScreenFit SdlScreen::FitOutput() {
  int output_width = 0;
  int output_height = 0;
  SDL_GetRendererOutputSize(renderer_, &output_width, &output_height);
  return FitScreen(output_width, output_height, options_.scale, largest_texture_);
}

bool SdlScreen::MakePrescaled(int factor) {
  if (prescaled_ != nullptr && prescaled_factor_ == factor) return true;
  if (prescaled_ != nullptr) SDL_DestroyTexture(prescaled_);
  prescaled_factor_ = factor;
  prescaled_ =
      SDL_CreateTexture(renderer_, SDL_GetWindowPixelFormat(window_), SDL_TEXTUREACCESS_TARGET,
                        kScreenWidth * factor, kScreenHeight * factor);
  if (prescaled_ == nullptr) {
    prescale_on_gpu_ = false;  // not again every frame: the one linear pass does
    return false;
  }
  SDL_SetTextureScaleMode(prescaled_, SDL_ScaleModeLinear);
  return true;
}

void SdlScreen::DrawPicture() {
  const ScreenFit fit = FitOutput();
  const SDL_Rect target{fit.picture.x, fit.picture.y, fit.picture.width, fit.picture.height};
  if (fit.smooth && fit.prescale > 1 && prescale_on_gpu_ && MakePrescaled(fit.prescale)) {
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    SDL_SetRenderTarget(renderer_, prescaled_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_SetRenderTarget(renderer_, nullptr);
    SDL_RenderCopy(renderer_, prescaled_, nullptr, &target);
    return;
  }
  SDL_SetTextureScaleMode(texture_, fit.smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  SDL_RenderCopy(renderer_, texture_, nullptr, &target);
}

void SdlScreen::ShowNotice(std::string_view text) {
  notice_shown_ = !text.empty() && renderer_ != nullptr;
  if (!notice_shown_) return;
  if (notice_ == nullptr) {
    notice_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                kNoticeWidth, kNoticeHeight);
    if (notice_ == nullptr) {
      notice_shown_ = false;
      return;
    }
    SDL_SetTextureBlendMode(notice_, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(notice_, SDL_ScaleModeLinear);
  }
  const std::vector<std::uint32_t> pixels = NoticePixels(text);
  SDL_UpdateTexture(notice_, nullptr, pixels.data(), kNoticeWidth * 4);
}

// The notice over the picture, scaled as the picture is, at its place in the picture.
void SdlScreen::DrawNotice() {
  if (!notice_shown_) return;
  const Viewport picture = FitOutput().picture;
  const auto scaled = [&](int canvas_y) {
    return static_cast<int>(std::int64_t{canvas_y} * picture.height / kScreenHeight);
  };
  const SDL_Rect target{picture.x, picture.y + scaled(kNoticeTop), picture.width,
                        std::max(1, scaled(kNoticeHeight))};
  SDL_RenderCopy(renderer_, notice_, nullptr, &target);
}

void SdlScreen::ShowFilm(const FilmState& state) {
  if (!film_ || film_->frame != state.frame || film_->length != state.length ||
      film_->quarters != state.quarters || film_->paused != state.paused ||
      film_->ended != state.ended) {
    film_bar_stale_ = true;
  }
  film_ = state;
}

// The film's controls along the bottom of the picture, in whole multiples of their own pixels.
void SdlScreen::DrawFilmBar() {
  if (!film_) return;
  const FilmBarPlace place = PlaceFilmBar(FitOutput().picture);
  if (place.width < 1) return;
  if (film_bar_ == nullptr || film_bar_width_ != place.width) {
    if (film_bar_ != nullptr) SDL_DestroyTexture(film_bar_);
    film_bar_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                  place.width, kFilmBarHeight);
    film_bar_width_ = place.width;
    film_bar_stale_ = true;
    if (film_bar_ == nullptr) return;
    SDL_SetTextureBlendMode(film_bar_, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(film_bar_, SDL_ScaleModeNearest);
  }
  if (film_bar_stale_) {
    const std::vector<std::uint32_t> pixels = FilmBarPixels(*film_, place.width);
    SDL_UpdateTexture(film_bar_, nullptr, pixels.data(), place.width * 4);
    film_bar_stale_ = false;
  }
  const SDL_Rect target{place.area.x, place.area.y, place.area.width, place.area.height};
  SDL_RenderCopy(renderer_, film_bar_, nullptr, &target);
}

// A command of the viewer's, kept for the film's next TakeFilmCommands. A drag's seeks replace
// each other: only where the pointer is now matters.
void SdlScreen::GiveFilmCommand(FilmCommand command) {
  const bool seek = command.kind == FilmCommand::Kind::Seek;
  if (seek && film_dragging_ && !film_commands_.empty() &&
      film_commands_.back().kind == FilmCommand::Kind::Seek) {
    film_commands_.back() = command;
    return;
  }
  if (film_commands_.size() < 256) film_commands_.push_back(command);
}

// A key of the viewer's while a film is watched: true when it was taken (every key is: none
// reaches the game, whose input is the recording). Escape closes the film as the close box does.
bool SdlScreen::HandleFilmKey(const SDL_KeyboardEvent& key) {
  if (!film_) return false;
  if (key.type != SDL_KEYDOWN) return true;
  const int code = KeyCodeOfScancode(key.keysym.scancode);
  if (code == kKeyEscape) {
    close_requested_ = true;
    return true;
  }
  const bool shift = (key.keysym.mod & KMOD_SHIFT) != 0;
  const auto command = FilmCommandOfKey(code, shift, film_->length);
  // A held key repeats its seeks and steps, never a pause (it would flicker on and off).
  if (command && !(key.repeat && command->kind == FilmCommand::Kind::TogglePause)) {
    GiveFilmCommand(*command);
  }
  return true;
}

// The output pixel under a point of the window (points and pixels differ on a dense screen).
std::optional<PointerPosition> SdlScreen::OutputPixelOfWindowPoint(int x, int y) {
  if (renderer_ == nullptr) return std::nullopt;
  int points_width = 0;
  int points_height = 0;
  int pixels_width = 0;
  int pixels_height = 0;
  SDL_GetWindowSize(window_, &points_width, &points_height);
  SDL_GetRendererOutputSize(renderer_, &pixels_width, &pixels_height);
  return PointerPosition{OutputPixelOfPoint(x, points_width, pixels_width),
                         OutputPixelOfPoint(y, points_height, pixels_height)};
}

// The left button going down at a window point (pressed), or the pointer moving there: a press
// on the button pauses or plays, a press on the timeline seeks there and a drag from it goes on
// seeking wherever the pointer goes, until the button comes up.
void SdlScreen::HandleFilmPointer(int x, int y, bool pressed) {
  if (!pressed && !film_dragging_) return;
  const auto pixel = OutputPixelOfWindowPoint(x, y);
  if (!pixel) return;
  const FilmBarPlace place = PlaceFilmBar(FitOutput().picture);
  if (pressed) {
    const FilmBarPart part = FilmBarPartAt(place, film_->length, pixel->x, pixel->y);
    if (part == FilmBarPart::Button) GiveFilmCommand({FilmCommand::Kind::TogglePause});
    film_dragging_ = part == FilmBarPart::Timeline;
    if (!film_dragging_) return;
  }
  GiveFilmCommand({FilmCommand::Kind::Seek, FilmFrameAtColumn(place, film_->length, pixel->x)});
}

void SdlScreen::ShowCursorWhereUseful() {
  // The STATS page draws its own arrow where the player points, and a full screen has nothing
  // to point at in flight: the system's pointer is hidden over them (it shows again as soon as
  // it leaves the window). In a window in flight it stays, for the title bar and the close box;
  // and a film's viewer always has it, for the controls.
  const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  const bool hide = area_width_ == 0 && !film_ && (full || mouse_examined_);
  mouse_examined_ = false;
  if (hide == cursor_hidden_) return;
  cursor_hidden_ = hide;
  SDL_ShowCursor(hide ? SDL_DISABLE : SDL_ENABLE);
}

PointerPosition SdlScreen::PointedCanvasPixel() {
  const PointerPosition output =
      OutputPixelOfWindowPoint(pointer_point_->x, pointer_point_->y).value_or(*pointer_point_);
  return CanvasPixelAt(FitOutput().picture, output.x, output.y);
}

void SdlScreen::ShowWindowArea(int width, int height, std::string_view title) {
  area_width_ = std::clamp(width, 1, kScreenWidth);
  area_height_ = std::clamp(height, 1, kScreenHeight);
  const std::string caption(title);
  if (window_ == nullptr) {
    window_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               area_width_, area_height_, SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr || !CreateRenderer()) return;
  } else {
    ResizeWindowArea(caption);
  }
  SDL_ShowCursor(SDL_ENABLE);
  cursor_hidden_ = false;
  SDL_SetRelativeMouseMode(SDL_FALSE);
  SDL_StartTextInput();
  live_keys_.HoldKeyboardTaps(false);  // the launcher reads the ordered events instead
  ProcessWindowMessages();
}

// The launcher's window grown to a page of the game's size (its controls) or back: the same
// window, resized and placed anew, with the page's title.
void SdlScreen::ResizeWindowArea(const std::string& caption) {
  SDL_SetWindowTitle(window_, caption.c_str());
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window_, &width, &height);
  if (width != area_width_ || height != area_height_) {
    SizeWindowToDesktop(area_width_, area_height_);
  }
}

// A window of the picture's size, or smaller on a desktop without room for it (a 640 x 480
// screen, a panel), frame included, so that no part of the game is off the screen; centred in
// the desktop's usable area.
void SdlScreen::SizeWindowToDesktop(int width, int height) {
  const int display = SDL_GetWindowDisplayIndex(window_);
  SDL_Rect room{};
  if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &room) != 0) room = {};
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
  if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) {
    top = left = bottom = right = 0;  // no frame known
  }
  const Viewport size = FitWindow(width, height, room.w - left - right, room.h - top - bottom);
  SDL_SetWindowSize(window_, size.width, size.height);
  if (room.w <= 0 || room.h <= 0) {
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    return;
  }
  // Centred in the usable area with its frame, not on the whole screen: on a small desktop the
  // whole screen's centre would put the title bar above the top, out of the player's reach.
  const Viewport placed = PlaceWindow(size.width, size.height, {room.x, room.y, room.w, room.h},
                                      {top, left, bottom, right});
  SDL_SetWindowPosition(window_, placed.x, placed.y);
}

// The options page's choice: the picture fills the screen the new way from the next frame on,
// and the window goes full screen or back into a window as Alt+Enter does. The launcher's
// small window keeps its size: the game's screen opens the way chosen.
void SdlScreen::ChangeScreen(const ScreenOptions& options) {
  options_ = options;
  if (window_ == nullptr || area_width_ != 0) return;
  const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  if (full == options.windowed) ToggleFullScreen();
  ShowCursorWhereUseful();
}

bool SdlScreen::OpenScreen(int width, int height, std::string_view title) {
  const std::string caption(title);
  const Uint32 mode = options_.windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (window_ == nullptr) {
    window_ = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               width, height, mode | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr || !CreateRenderer()) return false;
    if (options_.windowed) SizeWindowToDesktop(width, height);
  } else {
    // The launcher's window becomes the game's screen.
    if (renderer_ == nullptr) return false;
    SDL_SetWindowTitle(window_, caption.c_str());
    SizeWindowToDesktop(width, height);
    SDL_SetWindowResizable(window_, SDL_TRUE);
    if (!options_.windowed) SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  area_width_ = 0;
  area_height_ = 0;
  pointer_.reset();
  pending_key_events_.clear();
  SDL_StopTextInput();
  live_keys_.HoldKeyboardTaps(true);
  // The pointer stays the player's (nothing is captured); the STATS page starts where it is.
  if (SDL_GetMouseFocus() == window_) {
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    pointer_point_ = PointerPosition{x, y};
  }
  ShowCursorWhereUseful();
  ProcessWindowMessages();
  return true;
}

void SdlScreen::UploadCanvas(const Canvas& canvas) {
  if (texture_format_ == SDL_PIXELFORMAT_RGB565) {
    SDL_UpdateTexture(texture_, nullptr, canvas.Pixels().data(), kScreenWidth * 2);
    return;
  }
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return;
  WidenCanvasInto(canvas, static_cast<unsigned char*>(pixels), pitch);
  SDL_UnlockTexture(texture_);
}

void SdlScreen::Present(const Canvas& canvas) {
  if (renderer_ != nullptr) {
    UploadCanvas(canvas);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    if (area_width_ > 0) {
      // The launcher's window shows its own area of the back buffer, filling the window.
      const SDL_Rect area{0, 0, area_width_, area_height_};
      SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
      SDL_RenderCopy(renderer_, texture_, &area, nullptr);
    } else {
      DrawPicture();
      DrawNotice();
      DrawFilmBar();
    }
    ShowCursorWhereUseful();
    pacer_.WaitForNextFrame(clock_);
    SDL_RenderPresent(renderer_);
    frame_times_.Presented(clock_);
  }
  ProcessWindowMessages();
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
          // The launcher keeps its own small window: it shows only its corner of the canvas.
          if (area_width_ == 0) ToggleFullScreen();
          break;
        }
        if (HandleFilmKey(event.key)) break;
        live_keys_.SetKey(KeyCodeOfScancode(event.key.keysym.scancode), true);
        QueueKeyEvent({KeyEvent::Kind::Down, KeyCodeOfScancode(event.key.keysym.scancode)});
        break;
      case SDL_KEYUP:
        live_keys_.SetKey(KeyCodeOfScancode(event.key.keysym.scancode), false);
        if (HandleFilmKey(event.key)) break;
        if (event.key.keysym.scancode == SDL_SCANCODE_RETURN) shortcut_keys_.Release(kKeyReturn);
        QueueKeyEvent({KeyEvent::Kind::Up, KeyCodeOfScancode(event.key.keysym.scancode)});
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
            event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
          image_lost_ = true;
        }
        // The game pauses and lets every key go (media/media.hpp, FocusLost).
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
            event.window.event == SDL_WINDOWEVENT_MINIMIZED) {
          focus_lost_ = true;
          live_keys_.LetGoOfKeyboard();  // its keys will not be heard going up
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
          break;
        }
        pointer_point_ = PointerPosition{event.motion.x, event.motion.y};
        if (film_) HandleFilmPointer(event.motion.x, event.motion.y, false);
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
        if (film_) {
          // The viewer's clicks work the controls and never reach the game.
          if (event.button.button != SDL_BUTTON_LEFT) break;
          if (event.type == SDL_MOUSEBUTTONDOWN) {
            HandleFilmPointer(event.button.x, event.button.y, true);
          } else {
            film_dragging_ = false;
          }
          break;
        }
        if (game_button != 0) {
          const auto index = static_cast<std::size_t>(game_button - 1);
          buttons_[index] = event.type == SDL_MOUSEBUTTONDOWN;
          if (buttons_[index]) pressed_since_capture_[index] = true;
        }
        break;
      }
      default:
        pads_.Handle(event, live_keys_);
        break;
    }
  }
}

void SdlScreen::ToggleFullScreen() {
  const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  if (!full) return;
  // Back in a window, of the size it had (a game begun in full screen: the picture's size),
  // which must still fit the desktop and lie wholly inside its usable area.
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window_, &width, &height);
  SizeWindowToDesktop(width, height);
}

bool SdlScreen::CaptureKeyboard(std::int64_t, KeyStates& keys) {
  keys.fill(0);
  if (film_) return true;  // the viewer's keys are the film's, never the game's
  live_keys_.Capture(keys);
  shortcut_keys_.HideFrom(keys);
  return true;
}

MouseInput SdlScreen::CaptureMouse(std::int64_t) {
  MouseInput input;
  if (film_) return input;
  const PadPointer pad = live_keys_.CapturePadPointer();
  // The controller moved the arrow: the system's pointer, wherever it rests, no longer says
  // where the arrow is until the mouse moves again.
  if (pad.dx != 0 || pad.dy != 0) pointer_point_.reset();
  if (area_width_ == 0) {
    // The game's mouse model adds movements: the movement is the one that takes its arrow to
    // the canvas pixel under the system's pointer. So a recording holds what the game used.
    mouse_examined_ = true;
    if (pointer_point_ && renderer_ != nullptr) {
      const PointerPosition target = PointedCanvasPixel();
      input.dx = target.x - game_mouse_.x;
      input.dy = target.y - game_mouse_.y;
    }
    input.dx += pad.dx;
    input.dy += pad.dy;
  }
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    input.buttons[i] = buttons_[i] || pressed_since_capture_[i];
  }
  input.buttons[0] = input.buttons[0] || pad.left_button;
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
  return live_keys_.EventsThatMeanWhatTheySay(std::exchange(pending_key_events_, {}));
}

bool SdlScreen::WaitForWindowMessage(int most_milliseconds) {
  if (most_milliseconds > 0) SDL_WaitEventTimeout(nullptr, most_milliseconds);
  ProcessWindowMessages();
  return std::exchange(image_lost_, false);
}

// SDL is started by the first screen and stays started until DisconnectRealScreens.
bool sdl_started = false;

}  // namespace

std::unique_ptr<Display> ConnectRealScreen(const ScreenOptions& options, std::string& error) {
  // Without a desktop session there is nothing to show a window on (a console display can still
  // be chosen by name with SDL_VIDEODRIVER).
  if (SDL_getenv("DISPLAY") == nullptr && SDL_getenv("WAYLAND_DISPLAY") == nullptr &&
      SDL_getenv("SDL_VIDEODRIVER") == nullptr) {
    error = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    return nullptr;
  }
  // SDL is started once and stays started until the program ends, however many screens it
  // connects one after another (the launcher again after a film): started anew after SDL_Quit,
  // SDL can fail to reach the X server it just left, or pass over it for a driver that shows
  // nothing. What the last screen left in the queue (its window closed) is no message to the
  // next one; the game controllers that SDL announced to it are announced again.
  if (sdl_started) {
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
      if (!SDL_IsGameController(index)) continue;
      SDL_Event added{};
      added.cdevice.type = SDL_CONTROLLERDEVICEADDED;
      added.cdevice.which = index;
      SDL_PushEvent(&added);
    }
    return std::make_unique<SdlScreen>(options);
  }
  // The game catches SIGINT, SIGTERM, SIGHUP and SIGQUIT itself, to end like Escape.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  // Game controllers are welcome but not needed: without them the keyboard plays alone.
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  // Without any display SDL falls back to drivers that show nothing. Those count only when
  // asked for by name (SDL_VIDEODRIVER), never as a screen the player could see.
  const std::string_view driver = SDL_GetCurrentVideoDriver();
  if ((driver == "offscreen" || driver == "dummy") && SDL_getenv("SDL_VIDEODRIVER") == nullptr) {
    SDL_Quit();
    error = "no X11 or Wayland display was found";
    return nullptr;
  }
  // SDL's software renderer (taken where no accelerated one works, or asked for by name) shows
  // its frames on X11 through an OpenGL texture by default: without a graphics card that is a
  // software GL with threads of its own, several times the cost of writing the frame straight
  // to the X server through shared memory. (An accelerated renderer never uses this.)
  if (driver == "x11") SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  sdl_started = true;
  return std::make_unique<SdlScreen>(options);
}

void DisconnectRealScreens() {
  if (!sdl_started) return;
  sdl_started = false;
  SDL_Quit();
}

}  // namespace starvane
