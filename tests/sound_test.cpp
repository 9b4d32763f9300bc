// The synthesiser and mixer: voices start and end without a click, a voice that must give way
// fades instead of stopping, the limiter holds any crowd below full scale, and mute is silence.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/sound_device_block.hpp"
#include "media/sound_queue_depth.hpp"
#include "media/sound_source.hpp"
#include "sound/cue_sounds.hpp"
#include "sound/game_sound.hpp"
#include "sound/mixer.hpp"
#include "sound/voice.hpp"
#include "sound/volume_curve.hpp"
#include "tests/support/harness.hpp"

namespace starvane {
namespace {

std::vector<std::int16_t> MixFrames(Mixer& mixer, int frames) {
  std::vector<std::int16_t> all;
  std::vector<std::int16_t> frame(kSoundFrameValues);
  for (int i = 0; i < frames; ++i) {
    mixer.Mix(frame);
    all.insert(all.end(), frame.begin(), frame.end());
  }
  return all;
}

int Peak(const std::vector<std::int16_t>& stereo) {
  int peak = 0;
  for (const std::int16_t sample : stereo) peak = std::max(peak, std::abs(int{sample}));
  return peak;
}

Patch SteadyTone(float seconds, float hz) {
  Patch tone;
  tone.duration = seconds;
  tone.curve = 1;
  tone.start_hz = tone.end_hz = hz;
  tone.gain = 1;
  return tone;
}

// The largest change from one sample of a side to the next, the step in from silence included.
int LargestStep(const std::vector<std::int16_t>& stereo) {
  int largest = 0;
  int previous[2] = {0, 0};
  for (std::size_t i = 0; i < stereo.size(); ++i) {
    const int side = static_cast<int>(i % 2);
    largest = std::max(largest, std::abs(stereo[i] - previous[side]));
    previous[side] = stereo[i];
  }
  return largest;
}

TEST(Sound, EveryCueIsHeard) {
  for (int kind = 0; kind < kSoundCueKinds; ++kind) {
    const CueSound& sound = SoundOfCue(static_cast<SoundCueKind>(kind));
    EXPECT_TRUE(sound.held || sound.patch.gain > 0) << "cue " << kind << " has no voice";
  }
}

TEST(Sound, EveryEnvelopeRisesFromSilenceAndFallsBackToItWithoutAStep) {
  std::vector<Patch> patches;
  for (int kind = 0; kind < kSoundCueKinds; ++kind) {
    const CueSound& sound = SoundOfCue(static_cast<SoundCueKind>(kind));
    if (sound.held) continue;
    patches.push_back(sound.patch);
    if (sound.second) patches.push_back(*sound.second);
  }
  Patch abrupt;  // asks for no attack at all and the steepest fall
  abrupt.attack = 0;
  abrupt.duration = 0.01f;
  abrupt.curve = 6;
  patches.push_back(abrupt);
  for (const Patch& patch : patches) {
    const Envelope envelope(patch, kSoundRate);
    ASSERT_GT(envelope.Length(), 2);
    EXPECT_EQ(envelope.At(0), 0.0f);
    EXPECT_EQ(envelope.At(envelope.Length() - 1), 0.0f);
    // Never more than the shortest attack's step: 1/96 of full level a sample at 48 kHz.
    float largest = 0;
    for (std::int64_t n = 0; n + 1 < envelope.Length(); ++n) {
      largest = std::max(largest, std::abs(envelope.At(n + 1) - envelope.At(n)));
      ASSERT_LE(envelope.At(n), 1.0f);
    }
    EXPECT_LE(largest, 1.0f / 96 + 1e-6f) << "a patch of " << patch.duration << " s";
  }
}

TEST(Sound, AVoiceThatGivesWayFadesOutAndTheCapHolds) {
  Mixer mixer(kSoundRate);
  // 32 long, low, soft sines, all in phase: at a quarter of their period each stands at its peak.
  Patch hum;
  hum.duration = 5;
  hum.start_hz = hum.end_hz = 50;
  hum.gain = 1;
  for (int i = 0; i < Mixer::kVoices; ++i) mixer.Start(hum, 0.02f + 0.0001f * i, 0);
  std::vector<std::int16_t> quarter(2 * kSoundRate / 200);
  mixer.Mix(quarter);
  // Eight more: eight of the voices give way, the quietest first, and nothing jumps.
  for (int i = 0; i < 8; ++i) mixer.Start(hum, 0.02f, 0);
  EXPECT_EQ(mixer.ActiveVoices(), Mixer::kVoices);
  const std::vector<std::int16_t> after = MixFrames(mixer, 2);
  EXPECT_EQ(mixer.ActiveVoices(), Mixer::kVoices);
  // Cut at its peak, each voice would drop by 0.02 * 0.7 of full scale (458) at once; sines of
  // 50 Hz alone change by less than 100 a sample here.
  int largest = 0;
  for (std::size_t i = 2; i < after.size(); i += 2) {
    largest = std::max(largest, std::abs(after[i] - after[i - 2]));
  }
  largest = std::max(largest, std::abs(after[0] - quarter[quarter.size() - 2]));
  EXPECT_LT(largest, 200);
}

TEST(Sound, WithEveryVoiceBusyTheQuietestGivesWayNotTheLoudest) {
  Mixer mixer(kSoundRate);
  mixer.Start(SteadyTone(2, 440), 0.5f, 0);  // about 11,000 at its peak
  for (int i = 1; i < Mixer::kVoices; ++i) mixer.Start(SteadyTone(2, 440), 0.001f, 0);
  MixFrames(mixer, 1);
  mixer.Start(SteadyTone(2, 440), 0.001f, 0);
  MixFrames(mixer, 1);  // the one giving way has faded
  EXPECT_GT(Peak(MixFrames(mixer, 1)), 8000);
}

// A loud bang drives the limiter down; after it the limiter lets go over a few tenths of a
// second, so a quiet tone under it comes back gradually, not at once (nor in jumps).
TEST(Sound, AfterALoudPeakTheLimiterRecoversSmoothly) {
  Mixer limited(kSoundRate);
  Mixer alone(kSoundRate);
  limited.Start(SteadyTone(0.05f, 200), 8, 0);
  limited.Start(SteadyTone(10, 440), 0.1f, 0);
  alone.Start(SteadyTone(10, 440), 0.1f, 0);
  MixFrames(limited, 3);  // the bang is over
  MixFrames(alone, 3);
  double share = 0;  // of the tone alone that the limited mix lets through
  for (int frame = 0; frame < 50; ++frame) {
    const double now = static_cast<double>(Peak(MixFrames(limited, 1))) / Peak(MixFrames(alone, 1));
    EXPECT_LT(now, frame == 0 ? 0.5 : share * 1.25) << "frame " << frame;
    share = now;
  }
  EXPECT_GT(share, 0.97);
}

// A contact that lasts cues every frame; it is heard again only after its pause (a bump's six
// frames): it starts on frames 0 and 7, not 6.
TEST(Sound, ALastingContactRepeatsAtItsOwnSpacingNotAFrameEarly) {
  starvane::testing::Harness t;
  GameSound sound(t.game, {});
  t.game.Sounds.Listen();
  const int spacing = SoundOfCue(SoundCueKind::Bump).least_frames_between + 1;
  ASSERT_GT(spacing, 1);
  std::vector<std::int16_t> frame(kSoundFrameValues);
  for (int n = 0; n <= spacing; ++n) {
    t.game.Sounds.AddUnplaced(SoundCueKind::Bump, 4);
    sound.MixFrame(frame);
    EXPECT_EQ(sound.Mixing().ActiveVoices(), n < spacing ? 1 : 2) << "frame " << n;
  }
}

// The loudspeaker's cushion of waiting sound: late frames (after the first second) deepen it,
// calm shrinks it back a step at a time, and the queue changes depth only where it is not heard.
TEST(Sound, TheQueueCushionDeepensWhenFramesComeLateAndShrinksBackSlowly) {
  SoundQueueDepth depth(256);
  EXPECT_GT(depth.Shallowest(), 256);                                     // beyond a block
  EXPECT_EQ(depth.Next(0, false).silence_before, depth.Shallowest());     // the start
  EXPECT_EQ(depth.Next(depth.Cushion() - 256, false).silence_before, 0);  // in time
  // The first second's frames find the queue dry without deepening it (the window opens).
  EXPECT_EQ(depth.Next(0, false).silence_before, depth.Shallowest());
  for (int i = 3; i < SoundQueueDepth::kSettlingFrames; ++i) depth.Next(0, false);
  const int shallow = depth.Cushion();
  ASSERT_EQ(shallow, depth.Shallowest());
  const SoundQueueDepth::Step dry = depth.Next(0, false);  // a gap was played: fill it
  EXPECT_GT(depth.Cushion(), shallow);
  EXPECT_EQ(dry.silence_before, depth.Cushion());
  const int before = depth.Cushion();
  EXPECT_EQ(depth.Next(10, false).silence_before, 0);  // nearly dry: no silence inside sound
  EXPECT_GT(depth.Cushion(), before);
  const int deep = depth.Cushion();
  for (int i = 0; i < SoundQueueDepth::kCalmFrames; ++i) depth.Next(deep - 256, false);
  EXPECT_EQ(depth.Cushion(), deep - SoundQueueDepth::kShrink);
  const int too_deep = depth.Cushion() + kSoundFrameSamples;
  const SoundQueueDepth::Step silence = depth.Next(too_deep - 100, true);
  EXPECT_FALSE(silence.play_frame);  // silence is shortened to leave a cushion and a frame
  EXPECT_EQ(silence.silence_before, 100);
  EXPECT_TRUE(depth.Next(too_deep, false).play_frame);  // sound is not
  EXPECT_FALSE(depth.Next(depth.Cushion() + 3 * kSoundFrameSamples, false).play_frame);
}

// The device's block doubles when the server falls behind often within the window (not when the
// troubles are further apart), up to the largest, and halves again only after calm, at silence.
TEST(Sound, TheDeviceBlockGrowsWhenTheServerFallsBehindAndShrinksInSilence) {
  SoundDeviceBlock block;
  for (int i = 1; i < SoundDeviceBlock::kTroubles; ++i) EXPECT_FALSE(block.Next(true, false));
  for (int i = 0; i < SoundDeviceBlock::kTroubleFrames; ++i) block.Next(false, false);
  EXPECT_FALSE(block.Next(true, false));  // the others are forgotten: this is a first again
  for (int i = 2; i < SoundDeviceBlock::kTroubles; ++i) EXPECT_FALSE(block.Next(true, false));
  EXPECT_TRUE(block.Next(true, false));
  EXPECT_EQ(block.Size(), 2 * SoundDeviceBlock::kSmallest);
  for (int i = 0; i < 8; ++i) block.Next(true, false);
  EXPECT_EQ(block.Size(), SoundDeviceBlock::kLargest);
  for (int i = 0; i < SoundDeviceBlock::kCalmFrames; ++i) {
    ASSERT_FALSE(block.Next(false, false)) << i;  // sound is playing: never opened again
  }
  EXPECT_TRUE(block.Next(false, true));
  EXPECT_EQ(block.Size(), SoundDeviceBlock::kLargest / 2);
  SoundQueueDepth depth(256);
  for (int i = 0; i < SoundQueueDepth::kSettlingFrames; ++i) depth.Next(0, false);
  EXPECT_FALSE(depth.Next(depth.Cushion() + kSoundFrameSamples, false).device_behind);
  EXPECT_TRUE(depth.Next(depth.Cushion() + 3 * kSoundFrameSamples, false).device_behind);
}

TEST(Sound, TheVolumeStepsInDecibelsFromSilenceToFullScale) {
  EXPECT_EQ(VolumeGain(0), 0.0f);
  EXPECT_EQ(VolumeGain(100), 1.0f);             // the default: the mix's bytes as they were
  EXPECT_NEAR(VolumeGain(50), 0.316f, 0.001f);  // 10 dB down: about half as loud
  EXPECT_NEAR(VolumeGain(90) / VolumeGain(80), VolumeGain(30) / VolumeGain(20), 1e-4f);
  EXPECT_GT(VolumeGain(1), 0.0f);
}

// A voice still waiting out its delay has made no sound yet: it gives way at once, so the voice
// that takes its place is not kept waiting.
TEST(Sound, AVoiceNotYetHeardGivesWayAtOnce) {
  Patch late;
  late.duration = 0.2f;
  late.delay = 0.4f;
  Voice voice;
  voice.Start(late, 1, 0, 1, kSoundRate);
  std::vector<float> stereo(2 * 960, 0.0f);
  SoundNoise noise;
  voice.Render(stereo.data(), 960, noise);
  ASSERT_TRUE(voice.Active());
  voice.FadeOut(96);
  EXPECT_FALSE(voice.Active());
}

TEST(Sound, TheLimiterKeepsACrowdOfTheLoudestVoicesBelowFullScale) {
  Mixer mixer(kSoundRate);
  for (int frame = 0; frame < 25; ++frame) {
    for (int i = 0; i < 40; ++i) {
      const auto kind = static_cast<SoundCueKind>(i % kSoundCueKinds);
      if (!SoundOfCue(kind).held) mixer.Start(SoundOfCue(kind).patch, 3.0f, 0);
    }
    std::vector<std::int16_t> samples(kSoundFrameValues);
    mixer.Mix(samples);
    for (const std::int16_t sample : samples) {
      ASSERT_LE(std::abs(static_cast<int>(sample)), 29164) << "frame " << frame;
    }
  }
}

TEST(Sound, MutedFromTheStartIsSilenceAndMutingLaterFadesWithoutAStep) {
  Patch tone;
  tone.duration = 2;
  tone.start_hz = tone.end_hz = 440;
  Mixer muted(kSoundRate);
  muted.SetMuted(true);
  muted.Start(tone, 1, 0);
  for (const std::int16_t sample : MixFrames(muted, 5)) ASSERT_EQ(sample, 0);

  Mixer later(kSoundRate);
  later.Start(tone, 1, 0);
  std::vector<std::int16_t> samples = MixFrames(later, 3);
  later.SetMuted(true);
  const std::vector<std::int16_t> fading = MixFrames(later, 2);
  samples.insert(samples.end(), fading.begin(), fading.end());
  // 440 Hz at 0.5 of full scale moves by at most 950 a sample.
  EXPECT_LT(LargestStep(samples), 1000);
  for (std::size_t i = fading.size() / 2; i < fading.size(); ++i) ASSERT_EQ(fading[i], 0);
}

}  // namespace
}  // namespace starvane
