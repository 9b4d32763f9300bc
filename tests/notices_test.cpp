// The notices over the picture: which change of the game tells what, how long a notice stays,
// and its picture, laid over the game's picture outside the back buffer.

#include "app/notices.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/startup.hpp"
#include "life/ship_upkeep.hpp"
#include "media/backend.hpp"
#include "media/notice_picture.hpp"
#include "tests/support/temp_directory.hpp"
#include "world/world_generation.hpp"

namespace starvane {
namespace {

TEST(Notices, EachChangeTellsItsNoticeAndADestructionItsRealPrice) {
  const NoticeView calm{.money = 5000};
  NoticeView died = calm;
  died.deaths = 1;
  died.money = 0;
  died.shield = true;  // the destruction is told first
  EXPECT_EQ(NoticeFor(calm, died, 1.0f), "Destroyed: -1,000 money, back at the home planet");
  EXPECT_EQ(NoticeFor(calm, died, 10.0f), "Destroyed: all money lost, back at the home planet");
  NoticeView off = died;
  off.shield = false;
  EXPECT_EQ(NoticeFor(died, off, 1.0f), "Shield off");
  NoticeView muted = calm;
  muted.muted = true;
  EXPECT_EQ(NoticeFor(calm, muted, 1.0f), "Muted");
  NoticeView stats = calm;
  stats.stats_asked = true;
  EXPECT_EQ(NoticeFor(calm, stats, 1.0f),
            "STATS: buying only near the home planet, hold T to jump home");
  stats.at_home = true;
  EXPECT_EQ(NoticeFor(calm, stats, 1.0f), "");
}

// A display that keeps the notices it was given.
class NoticeCatcher final : public Display {
 public:
  explicit NoticeCatcher(std::vector<std::string>& shown) : shown_(shown) {}
  bool OpenScreen(int, int, std::string_view) override { return true; }
  void SetFrameRate(int) override {}
  void Present(const Canvas&) override {}
  bool CloseRequested() const override { return false; }
  InputSource& LiveInput() override { return input_; }
  void ShowNotice(std::string_view text) override { shown_.emplace_back(text); }

 private:
  std::vector<std::string>& shown_;
  NoInput input_;
};

TEST(Notices, ANoticeIsShownOnceAndTakenAwayAfterTwoAndAHalfSeconds) {
  starvane::testing::TempDirectory files;
  std::vector<std::string> shown;
  Media media(files.Path(), std::make_unique<NoticeCatcher>(shown));
  Game game(media);
  Notices notices(game, nullptr);
  game.Boost.Active = 1;
  notices.Watch();
  EXPECT_EQ(shown, std::vector<std::string>{"Boost on"});
  for (int frame = 1; frame < 125; ++frame) notices.Watch();
  EXPECT_EQ(shown.size(), 1u);
  notices.Watch();
  EXPECT_EQ(shown, (std::vector<std::string>{"Boost on", ""}));
}

// The destruction is told by the upkeep's death cue, heard or not: a poor ship pays what it has.
TEST(Notices, AShipDestroyedInTheUpkeepIsToldWithWhatItPaid) {
  starvane::testing::TempDirectory files;
  std::vector<std::string> shown;
  Media media(files.Path(), std::make_unique<NoticeCatcher>(shown));
  Game game(media);
  Startup(game, 7);
  GenerateWorld(game);
  game.Difficulty = 1;
  game.Money = 300;
  Notices notices(game, nullptr);
  game.Life.Value = -1;
  ShipUpkeep(game);
  notices.Watch();
  EXPECT_EQ(shown, std::vector<std::string>{"Destroyed: all money lost, back at the home planet"});
}

TEST(Notices, APictureIsWhiteTextOnATranslucentBandAndNothingElse) {
  const std::vector<std::uint32_t> pixels = NoticePixels("Muted");
  int ink = 0;
  for (const std::uint32_t pixel : pixels) {
    ASSERT_TRUE(pixel == 0 || pixel == 0xFFFFFFFF || pixel == 0xC0000000);
    ink += pixel == 0xFFFFFFFF ? 1 : 0;
  }
  EXPECT_GT(ink, 40);
  EXPECT_EQ(pixels[0], 0u);  // the band covers the text, not the whole width
  EXPECT_EQ(pixels[1 * kNoticeWidth + 400], 0xC0000000u);  // above the text
  for (const std::uint32_t pixel : NoticePixels("")) ASSERT_EQ(pixel, 0u);
}

}  // namespace
}  // namespace starvane
