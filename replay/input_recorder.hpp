#pragma once
// Writes the keyboard and mouse states a game examined as an input script, change by change,
// each with the number of frames presented when it was examined, so that playing the script
// back gives the same examinations and so the same game.

#include <fcntl.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "media/input_log.hpp"
#include "media/keys.hpp"
#include "media/mouse.hpp"
#include "replay/input_events.hpp"

namespace starvane {

class InputRecorder final : public InputLog {
 public:
  // Opens the file for writing (see OpenOutput: a named pipe without a reader is refused; the
  // flags are O_TRUNC to replace a file, O_EXCL to make a new one only) and writes the header
  // lines; nullptr when it cannot be opened, with errno saying why.
  static std::unique_ptr<InputRecorder> Create(const std::filesystem::path& path,
                                               const std::string& header, int open_flags = O_TRUNC);
  ~InputRecorder() override;
  InputRecorder(const InputRecorder&) = delete;
  InputRecorder& operator=(const InputRecorder&) = delete;

  // A recording that begins with a game already under way (a kept game begins after the
  // launcher): its frames count from this many presented frames, and the keys held then are
  // where its key lines start from.
  void StartAt(std::int64_t frames_presented, const KeyStates& held) {
    frame_origin_ = frames_presented;
    keys_ = held;
  }

  // The events in their order: a line for each run of presses ("down"), of releases ("up"),
  // and for each text typed ("type"), so that a replay delivers them in the same order.
  void NoteKeyEvents(std::int64_t frame, const KeyEvents& events) override;
  // A key state or a typed text on its own, as if the keyboard told nothing else.
  void NoteKeyboard(std::int64_t frame, const KeyStates& keys);
  void NoteText(std::int64_t frame, const std::string& text);
  void NoteMouse(std::int64_t frame, const MouseInput& mouse) override;
  void NoteFocusLost(std::int64_t frame) override;
  // The end line of a game that did not end by Escape (see replay/input_script.hpp).
  void NoteEnd(std::int64_t frame, LoopEnd end) override;
  // A last line after the events (a result line).
  void NoteLastLine(const std::string& line) { Write(line); }
  bool Finish() override;
  // Why the first write or the close failed ("No space left on device"); "" when none did.
  std::string FailureReason() const override;

 private:
  explicit InputRecorder(std::FILE* file) : file_(file) {}
  void Write(const std::string& text);

  std::FILE* file_;
  std::int64_t frame_origin_ = 0;
  KeyStates keys_{};
  std::array<bool, 3> buttons_{};
  int error_ = 0;  // the errno of the first failed write or close, 0 while all went well
};

}  // namespace starvane
