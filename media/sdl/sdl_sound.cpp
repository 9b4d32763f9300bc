#include "media/sdl/sdl_sound.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "media/sound_source.hpp"

namespace starvane {
namespace {

constexpr int kBytesPerSample = kSoundChannels * 2;

#ifdef _WIN32
constexpr const char* kNowhere = "NUL";
constexpr int kNowhereFlags = O_WRONLY;
#else
constexpr const char* kNowhere = "/dev/null";
constexpr int kNowhereFlags = O_WRONLY | O_CLOEXEC;
#endif

// Standard error goes nowhere while it lives. ALSA writes a page of complaints there when a
// machine has no sound card, although that is no error for a game that then plays silently.
class QuietStandardError {
 public:
  QuietStandardError() : saved_(dup(STDERR_FILENO)) {
    const int nowhere = open(kNowhere, kNowhereFlags);
    if (saved_ >= 0 && nowhere >= 0) dup2(nowhere, STDERR_FILENO);
    if (nowhere >= 0) close(nowhere);
  }
  ~QuietStandardError() {
    if (saved_ >= 0) {
      dup2(saved_, STDERR_FILENO);
      close(saved_);
    }
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_;
};

// The default device, running, taking block samples at a time; 0 when there is none.
SDL_AudioDeviceID OpenDevice(int block) {
  const QuietStandardError quiet;
  SDL_AudioSpec wanted{};
  wanted.freq = kSoundRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kSoundChannels;
  wanted.samples = static_cast<Uint16>(block);
  SDL_AudioSpec got{};
  // Any difference from what is wanted is converted by SDL.
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
  if (device != 0) SDL_PauseAudioDevice(device, 0);
  return device;
}

}  // namespace

void SdlSound::Queue(std::span<const std::int16_t> samples) {
  if (!tried_) {
    tried_ = true;
    const QuietStandardError quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    device_ = OpenDevice(block_.Size());
    if (device_ == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  if (device_ == 0) return;
  const auto waiting = static_cast<int>(SDL_GetQueuedAudioSize(device_) / kBytesPerSample);
  const bool silent =
      std::all_of(samples.begin(), samples.end(), [](std::int16_t sample) { return sample == 0; });
  SoundQueueDepth::Step step = depth_.Next(waiting, silent);
  if (block_.Next(step.device_behind, silent)) {
    // What waits in the old device is lost with it; the new one starts behind a fresh cushion.
    SDL_CloseAudioDevice(device_);
    device_ = OpenDevice(block_.Size());
    if (device_ == 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return;
    }
    depth_ = SoundQueueDepth(block_.Size());
    step = depth_.Next(0, silent);
  }
  if (step.silence_before > 0) {
    const std::vector<std::int16_t> silence(
        static_cast<std::size_t>(step.silence_before) * kSoundChannels, 0);
    SDL_QueueAudio(device_, silence.data(), static_cast<Uint32>(silence.size() * 2));
  }
  if (step.play_frame) {
    SDL_QueueAudio(device_, samples.data(), static_cast<Uint32>(samples.size() * 2));
  }
}

void SdlSound::Close() {
  if (device_ != 0) {
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

}  // namespace starvane
