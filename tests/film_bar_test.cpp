// The film's controls on the desktop: what the bar shows, where a click on its timeline seeks,
// and which command each of the viewer's keys gives.

#include "media/film_bar.hpp"
#include "media/notice_picture.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/keys.hpp"

namespace starvane {
namespace {

constexpr std::uint32_t kAmber = 0xFFE8A838;
constexpr int kKnobRow = 18;  // below the track and the text: only the position's mark reaches it

// The column of the position's mark (three white columns, no more) in the bar's picture, -1
// when none.
int KnobColumn(const std::vector<std::uint32_t>& pixels, int width) {
  const auto white = [&](int x) {
    return x >= 0 && x < width &&
           pixels[static_cast<std::size_t>(kKnobRow * width + x)] == kOverlayInk;
  };
  for (int x = 0; x < width; ++x) {
    if (!white(x - 2) && white(x - 1) && white(x) && white(x + 1) && !white(x + 2)) return x;
  }
  return -1;
}

TEST(FilmBar, AClickOnTheTimelineSeeksToTheFrameWhoseMarkIsUnderThePointer) {
  const std::int64_t length = 30'000;  // ten minutes
  for (const Viewport picture : {Viewport{0, 0, 320, 240}, Viewport{0, 0, 800, 600},
                                 Viewport{240, 0, 1440, 1080}, Viewport{480, 0, 2880, 2160}}) {
    const FilmBarPlace place = PlaceFilmBar(picture);
    EXPECT_EQ(place.area.y + place.area.height, picture.height);
    EXPECT_GE(place.area.x, picture.x);
    EXPECT_LE(place.area.x + place.area.width, picture.x + picture.width);
    const int y = place.area.y + place.area.height / 2;
    std::int64_t last = -1;
    int timeline_columns = 0;
    for (int x = picture.x; x < picture.x + picture.width; x += place.scale) {
      if (FilmBarPartAt(place, length, x, y) != FilmBarPart::Timeline) continue;
      ++timeline_columns;
      const std::int64_t frame = FilmFrameAtColumn(place, length, x);
      ASSERT_GE(frame, last) << picture.width << " at " << x;
      last = frame;
      // Beside the track (a click a little off either end) the mark stands at that end.
      if (frame > 0 && frame < length && timeline_columns % 7 == 0) {
        const FilmState state{.frame = frame, .length = length, .paused = true};
        const int knob = KnobColumn(FilmBarPixels(state, place.width), place.width);
        ASSERT_EQ(knob, (x - place.area.x) / place.scale) << picture.width << " at " << x;
      }
    }
    EXPECT_GE(timeline_columns, 40);
    EXPECT_EQ(FilmFrameAtColumn(place, length, picture.x), 0);
    EXPECT_EQ(FilmFrameAtColumn(place, length, picture.x + picture.width + 50), length);
    EXPECT_EQ(FilmBarPartAt(place, length, place.area.x + 10 * place.scale, y),
              FilmBarPart::Button);
    EXPECT_EQ(FilmBarPartAt(place, length, place.area.x + 10 * place.scale, place.area.y - 1),
              FilmBarPart::None);
  }
}

// How many pixels of the picture have this colour.
int Count(const std::vector<std::uint32_t>& pixels, std::uint32_t colour) {
  int count = 0;
  for (const std::uint32_t pixel : pixels) count += pixel == colour ? 1 : 0;
  return count;
}

TEST(FilmBar, TheTimeTheSpeedAndTheMarksShowWhereThereIsRoomAndTheTimelineAlways) {
  EXPECT_EQ(FilmTimeText(0), "0:00");
  EXPECT_EQ(FilmTimeText(3049), "1:00");  // 60.98 s
  EXPECT_EQ(FilmTimeText(30'000 + 250), "10:05");
  EXPECT_EQ(FilmSpeedText(1), "\xBCx");
  EXPECT_EQ(FilmSpeedText(2), "\xBDx");
  EXPECT_EQ(FilmSpeedText(4), "1x");
  EXPECT_EQ(FilmSpeedText(32), "8x");
  const FilmState playing{.frame = 100, .length = 30'000};
  FilmState ended = playing;
  ended.ended = ended.paused = true;
  FilmState paused = playing;
  paused.paused = true;
  for (const int width : {800, 420}) {
    const auto shown = FilmBarPixels(playing, width);
    // "ended" in amber, and "paused" in white: more ink than the speed alone.
    EXPECT_GT(Count(FilmBarPixels(ended, width), kAmber), Count(shown, kAmber) + 30) << width;
    EXPECT_GT(Count(FilmBarPixels(paused, width), kOverlayInk), Count(shown, kOverlayInk) + 30)
        << width;
  }
  // Too narrow for any text: the button, the track and the mark alone, and the track still
  // long enough to aim at.
  for (const int width : {100, 150}) {
    const auto bare = FilmBarPixels(ended, width);
    const auto later = FilmBarPixels(FilmState{.frame = 29'000, .length = 30'000}, width);
    EXPECT_EQ(Count(bare, kAmber), 0) << width;
    EXPECT_GT(KnobColumn(later, width), KnobColumn(bare, width) + 30) << width;
  }
}

TEST(FilmBar, EachViewerKeyGivesItsCommandAndNoOtherKeyGivesAny) {
  using Kind = FilmCommand::Kind;
  struct Case {
    const char* key;
    bool shift;
    Kind kind;
    std::int64_t value;
  };
  const Case cases[] = {
      {"Space", false, Kind::TogglePause, 0}, {"Right", false, Kind::Step, 0},
      {"Period", false, Kind::Step, 0},       {"Right", true, Kind::SeekBy, 250},
      {"Left", false, Kind::SeekBy, -250},    {"Left", true, Kind::SeekBy, -250},
      {"PageUp", false, Kind::SeekBy, -3000}, {"PageDown", false, Kind::SeekBy, 3000},
      {"Home", false, Kind::Seek, 0},         {"End", false, Kind::Seek, 9000},
      {"Minus", false, Kind::Slower, 0},      {"KeypadMinus", false, Kind::Slower, 0},
      {"Equals", true, Kind::Faster, 0},      {"KeypadPlus", false, Kind::Faster, 0},
      {"1", false, Kind::Seek, 900},          {"9", false, Kind::Seek, 8100},
  };
  for (const Case& c : cases) {
    const auto command = FilmCommandOfKey(*KeyByName(c.key), c.shift, 9000);
    ASSERT_TRUE(command.has_value()) << c.key;
    EXPECT_EQ(command->kind, c.kind) << c.key;
    EXPECT_EQ(command->value, c.value) << c.key;
  }
  for (const char* other : {"Escape", "0", "A", "T", "Up", "Return", "F12"}) {
    EXPECT_FALSE(FilmCommandOfKey(*KeyByName(other), false, 9000)) << other;
  }
}

}  // namespace
}  // namespace starvane
