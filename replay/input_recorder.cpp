#include "replay/input_recorder.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "files/output_file.hpp"
#include "replay/input_script.hpp"

namespace starvane {

std::unique_ptr<InputRecorder> InputRecorder::Create(const std::filesystem::path& path,
                                                     const std::string& header, int open_flags) {
  const int fd = OpenOutput(path, open_flags);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return nullptr;
  }
  std::unique_ptr<InputRecorder> recorder(new InputRecorder(file));
  recorder->Write(header);
  return recorder;
}

InputRecorder::~InputRecorder() {
  Finish();
}

void InputRecorder::Write(const std::string& text) {
  if (file_ == nullptr || text.empty()) return;
  errno = 0;
  // Each line goes out whole as it is made: a game killed meanwhile leaves every line before.
  if ((std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0) &&
      error_ == 0) {
    error_ = errno != 0 ? errno : EIO;
  }
}

void InputRecorder::NoteKeyEvents(std::int64_t frame, const KeyEvents& events) {
  if (file_ == nullptr) return;
  frame -= frame_origin_;
  InputEvent run;  // the presses or releases not yet written
  run.frame = frame;
  auto write_run = [&] {
    if (!run.keys.empty()) Write(InputEventLine(run));
    run.keys.clear();
  };
  for (const KeyEvent& event : events) {
    if (event.kind == KeyEvent::Kind::Text) {
      write_run();
      // Text of nothing but line ends is no event: a "type" line needs a text.
      std::string kept = TypedTextForScript(event.text);
      if (kept.empty()) continue;
      InputEvent typed;
      typed.frame = frame;
      typed.type = InputEvent::Type::Type;
      typed.text = std::move(kept);
      Write(InputEventLine(typed));
      continue;
    }
    if (event.key < 0 || event.key >= kKeyCount) continue;
    const auto type =
        event.kind == KeyEvent::Kind::Down ? InputEvent::Type::KeysDown : InputEvent::Type::KeysUp;
    if (run.type != type) write_run();
    run.type = type;
    run.keys.push_back(event.key);
    keys_[static_cast<std::size_t>(event.key)] = event.kind == KeyEvent::Kind::Down ? 1 : 0;
  }
  write_run();
}

void InputRecorder::NoteKeyboard(std::int64_t frame, const KeyStates& keys) {
  NoteKeyEvents(frame, MatchKeyEvents({}, keys_, keys));
}

void InputRecorder::NoteText(std::int64_t frame, const std::string& text) {
  NoteKeyEvents(frame, {{KeyEvent::Kind::Text, 0, text}});
}

namespace {

// A mouse event of the frame: a movement, a pointer position, wheel steps or a button.
InputEvent MouseEvent(std::int64_t frame, InputEvent::Type type, int dx, int dy = 0,
                      int button = 1) {
  InputEvent event;
  event.frame = frame;
  event.type = type;
  event.dx = dx;
  event.dy = dy;
  event.button = button;
  return event;
}

}  // namespace

void InputRecorder::NoteMouse(std::int64_t frame, const MouseInput& mouse) {
  if (file_ == nullptr) return;
  frame -= frame_origin_;
  if (mouse.pointer) {
    Write(InputEventLine(
        MouseEvent(frame, InputEvent::Type::Pointer, mouse.pointer->x, mouse.pointer->y)));
  }
  if (mouse.wheel != 0) {
    Write(InputEventLine(MouseEvent(frame, InputEvent::Type::Wheel, mouse.wheel)));
  }
  if (mouse.dx != 0 || mouse.dy != 0) {
    Write(InputEventLine(MouseEvent(frame, InputEvent::Type::MouseMove, mouse.dx, mouse.dy)));
  }
  for (int b = 0; b < 3; ++b) {
    const auto i = static_cast<std::size_t>(b);
    if (mouse.buttons[i] == buttons_[i]) continue;
    const auto type =
        mouse.buttons[i] ? InputEvent::Type::ButtonPress : InputEvent::Type::ButtonRelease;
    Write(InputEventLine(MouseEvent(frame, type, 0, 0, b + 1)));
    buttons_[i] = mouse.buttons[i];
  }
}

void InputRecorder::NoteFocusLost(std::int64_t frame) {
  InputEvent lost;
  lost.frame = frame - frame_origin_;
  lost.type = InputEvent::Type::FocusLost;
  Write(InputEventLine(lost));
}

void InputRecorder::NoteEnd(std::int64_t frame, LoopEnd end) {
  Write(ScriptEndLine({frame - frame_origin_, end}));
}

bool InputRecorder::Finish() {
  if (file_ != nullptr) {
    // The buffered rest is written by the close: a full disk often shows only here.
    errno = 0;
    if (std::fclose(file_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
    file_ = nullptr;
  }
  return error_ == 0;
}

std::string InputRecorder::FailureReason() const {
  return error_ == 0 ? "" : OutputErrorText(error_);
}

}  // namespace starvane
