#include "sound/wav_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <vector>

#include "base/little_endian.hpp"
#include "files/output_file.hpp"
#include "files/path_text.hpp"
#include "media/sound_source.hpp"

namespace starvane {
namespace {

constexpr std::uint32_t kHeaderBytes = 44;
constexpr std::uint32_t kMostDataBytes =
    (std::numeric_limits<std::uint32_t>::max() - kHeaderBytes) / 4 * 4;

std::vector<std::uint8_t> Header(std::uint32_t data_bytes) {
  constexpr std::uint32_t kBlockAlign = kSoundChannels * 2;
  std::vector<std::uint8_t> header;
  auto text = [&header](const char* four) {
    for (int i = 0; i < 4; ++i) header.push_back(static_cast<unsigned char>(four[i]));
  };
  text("RIFF");
  PutLittle32(header, kHeaderBytes - 8 + data_bytes);
  text("WAVE");
  text("fmt ");
  PutLittle32(header, 16);
  PutLittle16(header, 1);  // plain PCM
  PutLittle16(header, kSoundChannels);
  PutLittle32(header, kSoundRate);
  PutLittle32(header, kSoundRate * kBlockAlign);
  PutLittle16(header, kBlockAlign);
  PutLittle16(header, 16);
  text("data");
  PutLittle32(header, data_bytes);
  return header;
}

}  // namespace

std::unique_ptr<WavRecording> WavRecording::Create(const std::string& path, std::string& why) {
  const int fd = OpenOutput(PathOfText(path), O_TRUNC);
  std::FILE* file = fd < 0 ? nullptr : ::fdopen(fd, "wb");
  if (file == nullptr) {
    why = OutputErrorText(errno != 0 ? errno : EIO);
    if (fd >= 0) ::close(fd);
    return nullptr;
  }
  std::unique_ptr<WavRecording> recording(new WavRecording(file));
  // A pipe cannot go back to fill in the sizes at the end: it gets the largest sizes at once,
  // which players of a stream read as "until the stream ends".
  recording->streamed_ = ::lseek(fd, 0, SEEK_CUR) < 0;
  const std::vector<std::uint8_t> header = Header(recording->streamed_ ? kMostDataBytes : 0);
  if (std::fwrite(header.data(), 1, header.size(), file) != header.size()) recording->error_ = EIO;
  return recording;
}

WavRecording::~WavRecording() {
  if (file_ != nullptr) std::fclose(file_);
}

void WavRecording::Append(std::span<const std::int16_t> samples) {
  if (file_ == nullptr || error_ != 0) return;
  bytes_.clear();
  for (const std::int16_t sample : samples) PutLittle16(bytes_, static_cast<std::uint16_t>(sample));
  const std::size_t room = kMostDataBytes - data_bytes_;
  const std::size_t count = std::min(bytes_.size(), room);
  errno = 0;
  if (std::fwrite(bytes_.data(), 1, count, file_) != count) error_ = errno != 0 ? errno : EIO;
  data_bytes_ += static_cast<std::uint32_t>(count);
}

bool WavRecording::Finish(std::string& why) {
  if (file_ == nullptr) return error_ == 0;
  const std::vector<std::uint8_t> header = Header(data_bytes_);
  errno = 0;
  if (error_ == 0 && !streamed_ &&
      (std::fseek(file_, 0, SEEK_SET) != 0 ||
       std::fwrite(header.data(), 1, header.size(), file_) != header.size())) {
    error_ = errno != 0 ? errno : EIO;
  }
  errno = 0;
  if (std::fclose(file_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
  file_ = nullptr;
  if (error_ != 0) why = OutputErrorText(error_);
  return error_ == 0;
}

}  // namespace starvane
