#include "media/input_recorder.hpp"

#include <string_view>

namespace starvane {

std::unique_ptr<InputRecorder> InputRecorder::Create(const std::filesystem::path& path,
                                                     const std::string& header) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return nullptr;
  std::unique_ptr<InputRecorder> recorder(new InputRecorder(file));
  if (std::fputs(header.c_str(), file) < 0) recorder->failed_ = true;
  return recorder;
}

InputRecorder::~InputRecorder() {
  Finish();
}

void InputRecorder::WriteKeys(std::int64_t frame, const KeyStates& keys, bool down) {
  std::string line;
  for (int key = 0; key < kKeyCount; ++key) {
    const auto k = static_cast<std::size_t>(key);
    if ((keys[k] != 0) == down && (keys_[k] != 0) != down) {
      line += ' ';
      line += KeyName(key);
    }
  }
  if (line.empty()) return;
  if (std::fprintf(file_, "%lld %s%s\n", static_cast<long long>(frame), down ? "down" : "up",
                   line.c_str()) < 0) {
    failed_ = true;
  }
}

void InputRecorder::NoteKeyboard(std::int64_t frame, const KeyStates& keys) {
  if (file_ == nullptr) return;
  WriteKeys(frame, keys, true);
  WriteKeys(frame, keys, false);
  for (std::size_t k = 0; k < keys.size(); ++k) keys_[k] = keys[k] != 0;
}

void InputRecorder::NoteMouse(std::int64_t frame, const MouseInput& mouse) {
  if (file_ == nullptr) return;
  const auto at = static_cast<long long>(frame);
  if (mouse.dx != 0 || mouse.dy != 0) {
    if (std::fprintf(file_, "%lld mouse %d %d\n", at, mouse.dx, mouse.dy) < 0) failed_ = true;
  }
  for (int b = 0; b < 3; ++b) {
    const auto i = static_cast<std::size_t>(b);
    if (mouse.buttons[i] == buttons_[i]) continue;
    if (std::fprintf(file_, "%lld %s %d\n", at, mouse.buttons[i] ? "press" : "release", b + 1) <
        0) {
      failed_ = true;
    }
    buttons_[i] = mouse.buttons[i];
  }
}

bool InputRecorder::Finish() {
  if (file_ != nullptr) {
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
  }
  return !failed_;
}

}  // namespace starvane
