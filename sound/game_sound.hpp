#pragma once
// The game's sound: at every presented frame it takes the cues the game's rules gave since the
// last one (world/sound_cues.hpp), starts a voice for each event worth hearing, louder near the
// ship and placed left or right by where it is on the screen, aims the hums of what is held, and
// mixes the frame. M mutes and unmutes it. It reads the game and never changes it.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "sound/mixer.hpp"
#include "sound/noise.hpp"
#include "sound/wav_file.hpp"
#include "world/game.hpp"

namespace starvane {

struct SoundSettings {
  int volume = 100;  // 0 to 100
  bool muted = false;
};

class GameSound final : public SoundSource {
 public:
  // The recording, when given, gets every mixed frame.
  GameSound(Game& game, SoundSettings settings, WavRecording* recording = nullptr);
  ~GameSound() override;
  GameSound(const GameSound&) = delete;
  GameSound& operator=(const GameSound&) = delete;

  // From now on the game's cues are gathered and every presented frame is mixed.
  void Play();
  void MixFrame(std::span<std::int16_t> samples) override;

  const Mixer& Mixing() const { return mixer_; }
  // Whether the player muted the sound (M, --mute, the options page).
  bool Muted() const { return muted_; }
  // The player's choices on the options page, heard from the next frame on.
  void SetMuted(bool muted) { muted_ = muted; }
  void SetVolume(int volume);

 private:
  struct Placed {
    float gain;
    float pan;
  };
  Placed PlaceOf(const SoundCue& cue) const;
  void ToggleMuteOnM();
  void StartVoices();
  void AimHums();

  Game& game_;
  WavRecording* recording_;
  Mixer mixer_;
  SoundNoise variation_;
  std::vector<SoundCue> cues_;
  std::int64_t examinations_seen_ = 0;
  std::int64_t frame_ = 0;
  // The frame each kind of cue last started a voice, for the contacts that last.
  std::array<std::int64_t, kSoundCueKinds> last_started_{};
  bool playing_ = false;
  bool muted_ = false;  // by the player (M, --mute); a pause silences the mix besides
};

}  // namespace starvane
