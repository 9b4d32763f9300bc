#pragma once
// A sound recording written as it is played: a 16-bit stereo WAV file at 48,000 samples a
// second, its sizes filled in when it is finished (or, on a pipe, the largest sizes from the
// start).

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace starvane {

class WavRecording {
 public:
  // Opens the file for writing; nullptr with the system's reason in why when it cannot.
  static std::unique_ptr<WavRecording> Create(const std::string& path, std::string& why);
  ~WavRecording();
  WavRecording(const WavRecording&) = delete;
  WavRecording& operator=(const WavRecording&) = delete;

  // Appends interleaved stereo samples. A file may hold 4 GiB: about six hours; the rest is left
  // out.
  void Append(std::span<const std::int16_t> samples);
  // Writes the sizes and closes the file; false with the reason when any write failed.
  bool Finish(std::string& why);

 private:
  explicit WavRecording(std::FILE* file) : file_(file) {}

  std::FILE* file_;
  std::uint32_t data_bytes_ = 0;
  std::vector<std::uint8_t> bytes_;  // a frame's samples as written, kept for the next frame
  int error_ = 0;                    // the first errno of a failed write
  bool streamed_ = false;            // written to a pipe: the sizes cannot be filled in
};

}  // namespace starvane
