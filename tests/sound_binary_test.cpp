// The game's sound through --audio-out, as players and scripts use it: a shot is heard from its
// frame, the sound changes nothing of the game, the same game gives the same bytes, a muted game
// is silent, and a long fight never reaches full scale.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/run_program.hpp"
#include "tests/support/temp_directory.hpp"

namespace starvane {
namespace {

using starvane::testing::RunStarvaneBinary;
using starvane::testing::TempDirectory;

constexpr std::size_t kHeader = 44;
constexpr std::size_t kFrameValues = 1920;  // 960 stereo samples a frame

using starvane::testing::In;

std::vector<std::int16_t> Samples(const std::string& wav) {
  std::vector<std::int16_t> samples;
  for (std::size_t i = kHeader; i + 1 < wav.size(); i += 2) {
    const auto low = static_cast<unsigned char>(wav[i]);
    const auto high = static_cast<unsigned char>(wav[i + 1]);
    samples.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(low | high << 8)));
  }
  return samples;
}

// Plays the script headless with its sound written to NAME.wav; the sound's bytes.
std::string Play(const TempDirectory& dir, const std::string& script, const std::string& name,
                 const std::string& more = "") {
  const auto result = RunStarvaneBinary("--headless --files " + In(dir, "") + " --input " +
                                        In(dir, script) + " --audio-out " + In(dir, name + ".wav") +
                                        " --dump " + In(dir, name + ".json") + " " + more);
  EXPECT_EQ(result.status, 0) << result.err;
  return dir.Read(name + ".wav");
}

constexpr const char* kHeaderLines = "seed 9\ndifficulty easy\nship MyShip\n";

TEST(PlayBinary, AShotIsHeardFromTheFrameItIsFiredAndTheGameIsNoDifferent) {
  TempDirectory dir;
  dir.Write("still.txt", std::string(kHeaderLines) + "40 end frames\n");
  dir.Write("shot.txt", std::string(kHeaderLines) + "20 down Space\n40 end frames\n");
  const std::string still = Play(dir, "still.txt", "still");
  const std::string shot = Play(dir, "shot.txt", "shot");
  // A WAV of 40 frames of 48 kHz 16-bit stereo.
  ASSERT_EQ(shot.size(), kHeader + 40 * kFrameValues * 2);
  EXPECT_EQ(shot.substr(0, 4), "RIFF");
  EXPECT_EQ(shot.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(shot.substr(24, 4), std::string("\x80\xbb\0\0", 4));  // 48000
  const std::vector<std::int16_t> a = Samples(still);
  const std::vector<std::int16_t> b = Samples(shot);
  const auto differ = std::mismatch(a.begin(), a.end(), b.begin());
  ASSERT_NE(differ.first, a.end());
  EXPECT_EQ((differ.first - a.begin()) / static_cast<std::ptrdiff_t>(kFrameValues), 20);

  // The same game with and without its sound written ends the same, and its sound is the same
  // bytes every time.
  const auto silent = RunStarvaneBinary("--headless --files " + In(dir, "") + " --input " +
                                        In(dir, "shot.txt") + " --dump -");
  EXPECT_EQ(silent.out, dir.Read("shot.json"));
  EXPECT_EQ(Play(dir, "shot.txt", "again"), shot);
}

TEST(PlayBinary, AMutedGameIsSilentAndMTogglesTheSound) {
  TempDirectory dir;
  dir.Write("fire.txt", std::string(kHeaderLines) + "0 down Space\n60 end frames\n");
  dir.Write("m.txt", std::string(kHeaderLines) + "0 down Space\n10 down M\n12 up M\n30 down M\n" +
                         "32 up M\n60 end frames\n");
  for (const std::int16_t sample : Samples(Play(dir, "fire.txt", "muted", "--mute"))) {
    ASSERT_EQ(sample, 0);
  }
  for (const std::int16_t sample : Samples(Play(dir, "fire.txt", "none", "--volume 0"))) {
    ASSERT_EQ(sample, 0);
  }
  const std::vector<std::int16_t> loud = Samples(Play(dir, "fire.txt", "loud"));
  const std::vector<std::int16_t> toggled = Samples(Play(dir, "m.txt", "toggled"));
  ASSERT_EQ(toggled.size(), loud.size());
  auto heard = [](const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
    return std::any_of(s.begin() + static_cast<std::ptrdiff_t>(from * kFrameValues),
                       s.begin() + static_cast<std::ptrdiff_t>(to * kFrameValues),
                       [](std::int16_t v) { return v != 0; });
  };
  // Held for two frames, M mutes once: frames 11 to 29 are silent, and from 31 on it is heard
  // again, as loud as without the toggles.
  EXPECT_TRUE(heard(toggled, 0, 10));
  EXPECT_TRUE(heard(loud, 11, 30));
  EXPECT_FALSE(heard(toggled, 11, 30));
  EXPECT_TRUE(heard(toggled, 31, 60));

  // A pause is silent after a short fade, however long its frames wait: weapon 3's ball, fired
  // at 22, would ring until 26. The fire held through the pause is heard again after it.
  dir.Write("pause.txt", std::string(kHeaderLines) + "0 down 3\n2 up 3\n4 down Space\n" +
                             "23 down P\n24 up P\n50 down P\n51 up P\n80 end frames\n");
  const std::vector<std::int16_t> paused = Samples(Play(dir, "pause.txt", "paused"));
  EXPECT_TRUE(heard(paused, 22, 24));
  EXPECT_FALSE(heard(paused, 25, 50));
  EXPECT_TRUE(heard(paused, 51, 80));
}

// A launcher closed before any game still leaves a whole, empty sound file.
TEST(PlayBinary, AGameThatNeverBeganLeavesAnEmptySound) {
  TempDirectory dir;
  dir.Write("closed.txt", "seed 9\nlauncher\n3 end closed\n");
  const std::string wav = Play(dir, "closed.txt", "closed");
  ASSERT_EQ(wav.size(), kHeader);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(wav.substr(40, 4), std::string(4, '\0'));  // no samples
}

TEST(PlayBinary, ALongFightNeverReachesFullScale) {
  TempDirectory dir;
  // The shield, the boost, a dash into the craft and weapon 2 on crazy; then the shock.
  dir.Write("fight.txt",
            "seed 5\ndifficulty crazy\nship Daredevil\n0 down LeftControl 2\n2 up LeftControl 2\n"
            "4 down Left Space\n30 down B\n32 up B\n50 up Left\n50 down Up\n70 up Up\n"
            "70 down Return\n72 up Return\n90 down A\n150 up A S\n152 up S\n160 down D Right\n"
            "260 up D Right\n400 end frames\n");
  const std::vector<std::int16_t> samples = Samples(Play(dir, "fight.txt", "fight"));
  ASSERT_EQ(samples.size(), 400 * kFrameValues);
  int loudest = 0;
  for (const std::int16_t sample : samples) loudest = std::max(loudest, std::abs(sample + 0));
  EXPECT_LE(loudest, 29164);  // the limiter's ceiling, 0.89 of full scale
  EXPECT_GT(loudest, 3000);   // and it was a fight to be heard
}

TEST(PlayBinary, AnAudioOutThatCannotBeWrittenFailsBeforePlay) {
  TempDirectory dir;
  const auto result =
      RunStarvaneBinary("--headless --frames 5 --audio-out " + In(dir, "missing/sound.wav"));
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("cannot write the sound"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace starvane
