#include "media/media.hpp"

#include "media/quit_signal.hpp"

namespace starvane {

Media::Media(std::filesystem::path file_directory, std::unique_ptr<Display> display,
             std::unique_ptr<InputSource> script)
    : Files(std::move(file_directory)),
      display_(display ? std::move(display) : std::make_unique<HeadlessDisplay>()),
      script_(std::move(script)),
      input_(script_ ? script_.get() : &display_->LiveInput()) {}

bool Media::OpenScreen(int width, int height, int /*depth: always 16 bits*/,
                       std::string_view title) {
  return display_->OpenScreen(width, height, title);
}

void Media::FlipBuffers() {
  display_->Present(Screen);
  ++frames_presented_;
}

int Media::ExamineKeyboard() {
  KeyStates captured{};
  if (!input_->CaptureKeyboard(frames_presented_, captured)) return keyboard_.Examine(nullptr);
  if (recorder_) recorder_->NoteKeyboard(frames_presented_, captured);
  return keyboard_.Examine(&captured);
}

void Media::ExamineMouse() {
  const MouseInput captured = input_->CaptureMouse(frames_presented_);
  if (recorder_) recorder_->NoteMouse(frames_presented_, captured);
  mouse_.Examine(captured);
}

std::optional<LoopEnd> Media::ShouldEnd() const {
  if (frame_limit_ && frames_presented_ >= *frame_limit_) return LoopEnd::FrameLimit;
  if (display_->CloseRequested() || QuitSignalled()) return LoopEnd::Closed;
  return {};
}

bool Media::FinishRecording() {
  if (!recorder_) return true;
  const bool written = recorder_->Finish();
  recorder_.reset();
  return written;
}

}  // namespace starvane
