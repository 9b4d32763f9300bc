// The sound's cost: one frame (960 stereo samples, 20 ms) of the mix at its heaviest, every voice
// busy and every hum running, with a salvo of new voices stealing places each frame. The game's
// budget is 2 % of a core: 400 microseconds a frame.

#include <benchmark/benchmark.h>

#include <vector>

#include "media/sound_source.hpp"
#include "sound/cue_sounds.hpp"
#include "sound/mixer.hpp"

namespace starvane {
namespace {

void BM_SoundFrameBigFight(benchmark::State& state) {
  Mixer mixer(kSoundRate);
  for (int hum = 0; hum < kHumCount; ++hum) {
    mixer.SetHum(hum, HumPatchOf(static_cast<HumIndex>(hum)));
    mixer.HumAt(hum).Aim(1, 1, 0);
  }
  std::vector<std::int16_t> samples(kSoundFrameValues);
  int next = 0;
  for (auto _ : state) {
    for (int i = 0; i < 10; ++i) {
      const auto kind = static_cast<SoundCueKind>(next++ % kSoundCueKinds);
      if (!SoundOfCue(kind).held) mixer.Start(SoundOfCue(kind).patch, 0.5f, 0.3f);
    }
    mixer.Mix(samples);
    benchmark::DoNotOptimize(samples.data());
  }
  state.counters["voices"] = mixer.ActiveVoices();
}
BENCHMARK(BM_SoundFrameBigFight)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace starvane
