// settings.txt: the player's options as the file keeps them, lines it does not know kept in
// their places, a damaged file read as far as it is sound, and the command line's choices
// winning for the run.

#include "app/settings.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace starvane {
namespace {

TEST(Settings, LinesNotKnownKeepTheirPlacesAndKnownOnesTakeTheValuesChosen) {
  const std::string text =
      "future.option 3\nvolume 70\n# the player's own note\nkeys.fire Space PadA\n\n"
      "keys.warp-drive J\nscreen window\n";
  SettingsFile file = ParseSettings(text);
  EXPECT_EQ(file.choices.volume, 70);
  EXPECT_TRUE(file.choices.screen.windowed);
  file.choices.volume = 40;
  file.choices.keys.Bind(GameAction::Fire, kKeyLeftControl);
  const std::string written = SettingsText(file);
  EXPECT_TRUE(written.starts_with(
      "future.option 3\nvolume 40\n# the player's own note\nkeys.fire LeftControl PadA\n\n"
      "keys.warp-drive J\nscreen window\nmute no\n"))
      << written;
  // The settings the file did not name follow, every one of them, and read back alike.
  EXPECT_NE(written.find("\nscale sharp\nkeys.turn-left Left PadLeft PadLeftStickLeft\n"),
            std::string::npos)
      << written;
  EXPECT_EQ(ParseSettings(written).choices, file.choices);
  EXPECT_EQ(SettingsText(ParseSettings(written)), written);
}

TEST(Settings, ADamagedLineStopsTheReadingAndTheRestIsKeptByteForByte) {
  const std::string rest = "volume 300\r\nmute yes\nkeys.fire \xff\n";
  std::string damage;
  const SettingsFile file = ParseSettings("scale integer\r\nmute yes\n" + rest, &damage);
  EXPECT_EQ(file.choices.screen.scale, ScaleMode::Integer);
  EXPECT_TRUE(file.choices.mute);
  EXPECT_EQ(file.choices.volume, 100);
  EXPECT_EQ(damage, "line 3: 'volume 300': the volume is a whole number from 0 to 100");
  const std::string written = SettingsText(file);
  EXPECT_TRUE(written.starts_with("scale integer\nmute yes\n")) << written;
  EXPECT_TRUE(written.ends_with("\n" + rest)) << written;

  // Every kind of damage, with a sound line before and after it.
  for (const std::string_view bad :
       {"keys.fire Spacebar", " 20", "mute \xe9", "screen big", "volume", "scale Sharp"}) {
    damage.clear();
    const SettingsFile read =
        ParseSettings("volume 20\n" + std::string(bad) + "\nvolume 30\n", &damage);
    EXPECT_EQ(read.choices.volume, 20) << bad;
    EXPECT_TRUE(damage.starts_with("line 2: ")) << bad << ": " << damage;
    EXPECT_EQ(read.unread, std::string(bad) + "\nvolume 30\n");
  }
}

TEST(Settings, TheCommandLineWinsForTheRunAndWhatItDidNotChooseIsTheFilesChoice) {
  const PlayerChoices saved =
      ParseSettings("volume 70\nmute no\nscale integer\nscreen full\nkeys.fire F\n").choices;
  const auto options = [](std::vector<std::string_view> args) {
    return std::get<Options>(ParseCommandLine(args));
  };
  EXPECT_EQ(ChoicesForTheRun(saved, options({})), saved);
  const PlayerChoices run =
      ChoicesForTheRun(saved, options({"--window", "--volume", "100", "--mute"}));
  EXPECT_EQ(run.volume, 100);
  EXPECT_TRUE(run.mute);
  EXPECT_TRUE(run.screen.windowed);
  EXPECT_EQ(run.screen.scale, ScaleMode::Integer);
  EXPECT_EQ(run.keys, saved.keys);
  EXPECT_EQ(ChoicesForTheRun(saved, options({"--scale", "sharp"})).screen.scale, ScaleMode::Sharp);
}

}  // namespace
}  // namespace starvane
