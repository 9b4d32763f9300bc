#include "media/media.hpp"

#include <cstdio>

#include "base/text_quoting.hpp"
#include "media/bmp.hpp"
#include "media/quit_signal.hpp"

namespace starvane {

Media::Media(std::filesystem::path file_directory, std::unique_ptr<Display> display,
             std::unique_ptr<InputSource> script)
    : Files(std::move(file_directory)),
      display_(display ? std::move(display) : std::make_unique<HeadlessDisplay>()),
      script_(std::move(script)),
      input_(script_ ? script_.get() : &display_->LiveInput()),
      ship_lock_(Files.Directory()) {}

bool Media::LockShip(std::string_view ship_file_name, std::string& why) {
  // A browser's pages share its files, on a file system whose locks hold nothing: there the
  // display keeps the ship from the other pages, and the file lock's complaint is beside the
  // point.
  switch (display_->HoldShip((Files.Directory() / ship_file_name).string())) {
    case Display::ShipHold::Refused:
      why = kShipInAnotherGame;
      return false;
    case Display::ShipHold::Held:
      if (!ship_lock_.Lock(ship_file_name, why)) return false;
      why.clear();
      return true;
    case Display::ShipHold::NotKept:
      break;
  }
  return ship_lock_.Lock(ship_file_name, why);
}

bool Media::OpenScreen(int width, int height, std::string_view title) {
  return display_->OpenScreen(width, height, title);
}

namespace {

constexpr int kIdleWaitMilliseconds = 100;

}  // namespace

void Media::FlipBuffers() {
  if (film_ != nullptr) return FilmFrame(true);
  display_->Present(Screen);
  ++frames_presented_;
  MixSound();
  TakeAskedScreenshot();
}

bool Media::KeepFrame() {
  if (film_ != nullptr) {
    FilmFrame(false);
    return false;  // a film presents again by itself when the window lost its picture
  }
  const bool lost = display_->WaitForWindowMessage(script_ ? 0 : kIdleWaitMilliseconds);
  ++frames_presented_;
  MixSound();
  TakeAskedScreenshot();
  return lost;
}

bool Media::PresentIfChanged(bool changed) {
  if (!changed) return KeepFrame();
  FlipBuffers();
  return false;
}

void Media::MixSound() {
  if (sound_ == nullptr) return;
  sound_frame_.resize(kSoundFrameValues);
  sound_->MixFrame(sound_frame_);
  display_->QueueSound(sound_frame_);
}

void Media::TakeAskedScreenshot() {
  if (screenshot_asked_ && screenshots_taken_) {
    screenshot_asked_ = false;
    std::string why;
    if (WriteNewScreenshot(Files.Directory(), Screen, why).empty()) {
      std::fprintf(stderr, "starvane: cannot write a screenshot to %s (%s)\n",
                   Quoted(Files.Directory().string()).c_str(), why.c_str());
    }
  }
}

int Media::ExamineKeyboard() {
  ++keyboard_examinations_;
  focus_lost_ = input_->CaptureFocusLost(frames_presented_);
  if (focus_lost_ && recorder_ && !input_aside_) recorder_->NoteFocusLost(frames_presented_);
  if (focus_lost_ && kept_log_ && !input_aside_) kept_log_->NoteFocusLost(frames_presented_);
  KeyEvents events = input_->CaptureKeyEvents(frames_presented_);
  KeyStates captured{};
  key_events_.clear();
  if (!input_->CaptureKeyboard(frames_presented_, captured)) {
    if (!focus_lost_) return keyboard_.Examine(nullptr);
    captured.fill(0);  // the keys are let go even when the rest of the capture failed
  }
  if (focus_lost_) captured.fill(0);
  if (key_to_press_ != 0 && frames_presented_ > press_after_frame_) {
    if (key_to_press_ > 0 && key_to_press_ < kKeyCount) {
      captured[static_cast<std::size_t>(key_to_press_)] = 1;
      events.push_back({KeyEvent::Kind::Down, key_to_press_});
    }
    key_to_press_ = 0;
  }
  KeyStates before{};
  for (int key = 0; key < kKeyCount; ++key) {
    before[static_cast<std::size_t>(key)] = keyboard_.KeyboardPushed(key) != 0 ? 1 : 0;
  }
  key_events_ = MatchKeyEvents(std::move(events), before, captured);
  if (recorder_ && !input_aside_) recorder_->NoteKeyEvents(frames_presented_, key_events_);
  if (kept_log_ && !input_aside_) kept_log_->NoteKeyEvents(frames_presented_, key_events_);
  if (captured[kKeyF12] && !keyboard_.KeyboardPushed(kKeyF12)) screenshot_asked_ = true;
  return keyboard_.Examine(&captured);
}

bool Media::KeyWentDown(int key) const {
  for (const KeyEvent& event : key_events_) {
    if (event.kind == KeyEvent::Kind::Down && event.key == key) return true;
  }
  return false;
}

void Media::ExamineMouse() {
  const MouseInput captured = input_->CaptureMouse(frames_presented_);
  if (recorder_ && !input_aside_) recorder_->NoteMouse(frames_presented_, captured);
  if (kept_log_ && !input_aside_) kept_log_->NoteMouse(frames_presented_, captured);
  mouse_.Examine(captured);
  input_->MouseExaminedAt({mouse_.MouseX(), mouse_.MouseY()});
}

void Media::DiscardMouseMovement() {
  MouseInput captured = input_->CaptureMouse(frames_presented_);
  if (recorder_) recorder_->NoteMouse(frames_presented_, captured);
  if (kept_log_) kept_log_->NoteMouse(frames_presented_, captured);
  captured.dx = 0;
  captured.dy = 0;
  captured.pointer.reset();
  captured.wheel = 0;
  mouse_.Examine(captured);
  input_->MouseExaminedAt({mouse_.MouseX(), mouse_.MouseY()});
}

std::optional<LoopEnd> Media::ShouldEnd() const {
  if (film_ != nullptr) {
    if (const auto end = film_->BeforeFrame()) return end;
  }
  if (frame_limit_ && frames_presented_ >= *frame_limit_) return LoopEnd::FrameLimit;
  if (const auto end = input_->EndAt(frames_presented_)) return end;
  if (display_->CloseRequested() || QuitSignalled()) return LoopEnd::Closed;
  return {};
}

void Media::BeginWith(const KeyStates& held, PointerPosition pointer) {
  keyboard_.Examine(&held);
  mouse_.Examine({.pointer = pointer});
}

bool Media::FinishRecording(LoopEnd end, std::string* why) {
  if (!recorder_) return true;
  recorder_->NoteEnd(frames_presented_, end);
  const bool written = recorder_->Finish();
  if (!written && why != nullptr) *why = recorder_->FailureReason();
  recorder_.reset();
  return written;
}

InputMode Media::SetInputMode(InputMode mode) {
  const InputMode before = input_mode_;
  input_mode_ = mode;
  display_->SetInputMode(mode);
  return before;
}

void Media::SetKeyBindings(const KeyBindings& bindings) {
  bindings_ = bindings;
  display_->SetKeyBindings(bindings);
}

std::string Media::BoundKeyLabel(int game_key) const {
  if (script_) return KeyLabel(game_key);
  std::string label;
  bool made = false;  // some action makes this key: its own key may be bound elsewhere
  for (const GameActionInfo& info : kGameActions) {
    if (info.game_key != game_key) continue;
    made = true;
    for (const int code : bindings_.KeysOf(info.action)) {
      if (IsPadKey(code)) continue;
      if (!label.empty()) label += " or ";
      label += display_->KeyLabel(code);
    }
  }
  if (!made) return KeyLabel(game_key);  // a key of no action's comes as itself
  return label.empty() ? "none" : label;
}

Media::InputSetAside::InputSetAside(Media& media)
    : media_(media),
      keyboard_(media.keyboard_),
      mouse_(media.mouse_),
      key_events_(media.key_events_),
      focus_lost_(media.focus_lost_),
      was_aside_(media.input_aside_) {
  media.input_aside_ = true;
}

Media::InputSetAside::~InputSetAside() {
  media_.keyboard_ = keyboard_;
  media_.mouse_ = mouse_;
  media_.key_events_ = std::move(key_events_);
  media_.focus_lost_ = focus_lost_;
  media_.input_aside_ = was_aside_;
  media_.input_->MouseExaminedAt({media_.mouse_.MouseX(), media_.mouse_.MouseY()});
}

}  // namespace starvane
