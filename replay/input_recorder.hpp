#pragma once
// Writes the keyboard and mouse states a game examined as an input script, change by change,
// each with the number of frames presented when it was examined, so that playing the script
// back gives the same examinations and so the same game.

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
  // Opens the file for writing (see OpenOutput: a named pipe without a reader is refused) and
  // writes the header lines; nullptr when it cannot be opened, with errno saying why.
  static std::unique_ptr<InputRecorder> Create(const std::filesystem::path& path,
                                               const std::string& header);
  ~InputRecorder() override;
  InputRecorder(const InputRecorder&) = delete;
  InputRecorder& operator=(const InputRecorder&) = delete;

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
  bool Finish() override;
  // Why the first write or the close failed ("No space left on device"); "" when none did.
  std::string FailureReason() const override;

 private:
  explicit InputRecorder(std::FILE* file) : file_(file) {}
  void Write(const std::string& text);

  std::FILE* file_;
  KeyStates keys_{};
  std::array<bool, 3> buttons_{};
  int error_ = 0;  // the errno of the first failed write or close, 0 while all went well
};

}  // namespace starvane
