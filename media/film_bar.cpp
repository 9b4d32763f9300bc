#include "media/film_bar.hpp"

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <utility>

#include "media/font.hpp"
#include "media/keys.hpp"
#include "media/notice_picture.hpp"

namespace starvane {
namespace {

constexpr std::uint32_t kTrack = 0xFF5A5A5A;
constexpr std::uint32_t kPlayed = 0xFFE8A838;  // the part already seen, and the end's mark

constexpr int kTextTop = (kFilmBarHeight - kFontHeight) / 2;
constexpr int kButtonLeft = 6;
constexpr int kButtonWidth = 12;
constexpr int kTrackLeft = 28;
constexpr int kTrackTop = 10;
constexpr int kTrackHeight = 4;
constexpr int kShortestTrack = 40;  // below this the time and the speed make room for it
// Key codes of the viewer's keys that the game itself never names (media/keys.cpp).
constexpr int kKeyMinus = 12;
constexpr int kKeyEquals = 13;  // "+" with Shift
constexpr int kKeyPeriod = 52;
constexpr int kKeyKeypadMinus = 74;
constexpr int kKeyKeypadPlus = 78;
constexpr int kKeyPageUp = 201;
constexpr int kKeyPageDown = 209;

// A film longer than any game (some 700 years at 50 frames a second) is shown as this long, so
// that no product of a length and a column can overflow.
constexpr std::int64_t kLongestShownFilm = std::int64_t{1} << 40;

// Where the parts of a bar of this width go. The time reserves the room its longest text takes
// (the position padded to the length's digits), so the timeline never moves while it plays.
struct Layout {
  int track_left = kTrackLeft;
  int track_right = kTrackLeft + 1;  // one past the last column
  int time_left = -1;                // -1: not shown
  int speed_left = -1;               // the speed and the paused or ended mark; -1: not shown
};

int TextWidth(std::size_t characters) {
  return static_cast<int>(std::min<std::size_t>(characters, 256)) * kFontWidth;
}

std::string TimePair(std::int64_t frame, std::int64_t length) {
  const std::string total = FilmTimeText(length);
  std::string position = FilmTimeText(frame);
  if (position.size() < total.size()) position.insert(0, total.size() - position.size(), ' ');
  return position + " / " + total;
}

Layout LayOut(int width, std::int64_t length) {
  const int time_width = TextWidth(TimePair(length, length).size());
  const int speed_width = TextWidth(std::string("\xBCx paused").size());
  Layout layout;
  for (int parts = 2; parts >= 0; --parts) {
    int right = width - 8;
    if (parts == 2) {
      layout.speed_left = right - speed_width;
      right = layout.speed_left - 12;
    }
    if (parts >= 1) {
      layout.time_left = right - time_width;
      right = layout.time_left - 12;
    }
    layout.track_right = right;
    if (right - kTrackLeft >= kShortestTrack || parts == 0) break;
    layout.speed_left = layout.time_left = -1;
  }
  layout.track_right = std::max(layout.track_right, kTrackLeft + 1);
  return layout;
}

std::int64_t ShownLength(std::int64_t length) {
  return std::clamp<std::int64_t>(length, 0, kLongestShownFilm);
}

// The column of the timeline that stands for this frame.
int TrackColumnOf(const Layout& layout, std::int64_t frame, std::int64_t length) {
  const std::int64_t shown = ShownLength(length);
  const std::int64_t span = layout.track_right - 1 - layout.track_left;
  if (shown == 0 || span <= 0) return layout.track_left;
  const std::int64_t at = std::clamp<std::int64_t>(frame, 0, shown);
  return layout.track_left + static_cast<int>((2 * at * span + shown) / (2 * shown));
}

class BarPicture {
 public:
  explicit BarPicture(int width)
      : width_(width), pixels_(static_cast<std::size_t>(width) * kFilmBarHeight, kOverlayBand) {}

  void Fill(int x, int y, int w, int h, std::uint32_t colour) {
    for (int row = std::max(0, y); row < std::min(kFilmBarHeight, y + h); ++row) {
      for (int column = std::max(0, x); column < std::min(width_, x + w); ++column) {
        pixels_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(column)] = colour;
      }
    }
  }

  // Text of single bytes (ISO 8859-1), in the game's font, its cell's top left at (x, y).
  void Text(int x, int y, std::string_view text, std::uint32_t colour) {
    for (const char c : text) {
      int byte = static_cast<unsigned char>(c);
      if (byte < kFontFirstByte) byte = kFontStandInByte;
      const Glyph& glyph = kFontGlyphs[static_cast<std::size_t>(byte - kFontFirstByte)];
      for (int row = 0; row < kFontHeight; ++row) {
        for (int bit = 0; bit < kFontWidth; ++bit) {
          if ((glyph[static_cast<std::size_t>(row)] & (0x80 >> bit)) != 0) {
            Fill(x + bit, y + row, 1, 1, colour);
          }
        }
      }
      x += kFontWidth;
    }
  }

  std::vector<std::uint32_t> Take() { return std::move(pixels_); }

 private:
  int width_;
  std::vector<std::uint32_t> pixels_;
};

// What a click on the button does, drawn: a triangle to play a paused or ended film, two bars
// to pause a playing one.
void DrawButton(BarPicture& bar, bool playing) {
  const int top = kTextTop;
  if (playing) {
    bar.Fill(kButtonLeft + 1, top, 4, kFontHeight, kOverlayInk);
    bar.Fill(kButtonLeft + 7, top, 4, kFontHeight, kOverlayInk);
    return;
  }
  for (int column = 0; column < kButtonWidth; ++column) {
    const int half = (kFontHeight / 2) * (kButtonWidth - column) / kButtonWidth;
    bar.Fill(kButtonLeft + column, top + kFontHeight / 2 - half, 1, 2 * half + 1, kOverlayInk);
  }
}

int FloorDivide(int value, int divisor) {
  const int quotient = value / divisor;
  return quotient * divisor > value ? quotient - 1 : quotient;
}

}  // namespace

FilmBarPlace PlaceFilmBar(const Viewport& picture) {
  FilmBarPlace place;
  place.scale = std::max(1, (picture.height + 299) / 600);
  place.width = std::clamp(picture.width / place.scale, 0, 8192);
  const int width = place.width * place.scale;
  const int height = kFilmBarHeight * place.scale;
  place.area = {picture.x + (picture.width - width) / 2, picture.y + picture.height - height, width,
                height};
  return place;
}

std::string FilmTimeText(std::int64_t frames) {
  const std::int64_t seconds = std::max<std::int64_t>(frames, 0) / kFilmFramesPerSecond;
  const std::int64_t within = seconds % 60;
  return std::to_string(seconds / 60) + (within < 10 ? ":0" : ":") + std::to_string(within);
}

std::string FilmSpeedText(int quarters) {
  if (quarters == 1) return "\xBCx";
  if (quarters == 2) return "\xBDx";
  if (quarters % 4 == 0) return std::to_string(quarters / 4) + "x";
  return std::to_string(quarters) + "/4x";
}

std::vector<std::uint32_t> FilmBarPixels(const FilmState& state, int width) {
  width = std::clamp(width, 1, 8192);
  BarPicture bar(width);
  const Layout layout = LayOut(width, state.length);
  DrawButton(bar, !state.paused && !state.ended);
  const int track_width = layout.track_right - layout.track_left;
  const int at = TrackColumnOf(layout, state.frame, state.length);
  bar.Fill(layout.track_left, kTrackTop, track_width, kTrackHeight, kTrack);
  bar.Fill(layout.track_left, kTrackTop, at - layout.track_left, kTrackHeight, kPlayed);
  bar.Fill(at - 1, kTrackTop - 5, 3, kTrackHeight + 10, kOverlayInk);
  if (layout.time_left >= 0) {
    bar.Text(layout.time_left, kTextTop, TimePair(state.frame, state.length), kOverlayInk);
  }
  if (layout.speed_left >= 0) {
    const std::string speed = FilmSpeedText(state.quarters);
    bar.Text(layout.speed_left, kTextTop, speed, kOverlayInk);
    const int mark_left = layout.speed_left + TextWidth(speed.size() + 1);
    if (state.ended) {
      bar.Text(mark_left, kTextTop, "ended", kPlayed);
    } else if (state.paused) {
      bar.Text(mark_left, kTextTop, "paused", kOverlayInk);
    }
  }
  return bar.Take();
}

FilmBarPart FilmBarPartAt(const FilmBarPlace& place, std::int64_t length, int output_x,
                          int output_y) {
  const Viewport& area = place.area;
  if (output_x < area.x || output_x >= area.x + area.width || output_y < area.y ||
      output_y >= area.y + area.height) {
    return FilmBarPart::None;
  }
  const int x = (output_x - area.x) / place.scale;
  if (x >= kButtonLeft - 4 && x < kButtonLeft + kButtonWidth + 4) return FilmBarPart::Button;
  const Layout layout = LayOut(place.width, length);
  if (x >= layout.track_left - 4 && x < layout.track_right + 4) return FilmBarPart::Timeline;
  return FilmBarPart::None;
}

std::int64_t FilmFrameAtColumn(const FilmBarPlace& place, std::int64_t length, int output_x) {
  const Layout layout = LayOut(place.width, length);
  const std::int64_t shown = ShownLength(length);
  const std::int64_t span = layout.track_right - 1 - layout.track_left;
  if (span <= 0) return 0;
  const int x = std::clamp(FloorDivide(output_x - place.area.x, std::max(1, place.scale)),
                           layout.track_left, layout.track_right - 1);
  return (2 * (x - layout.track_left) * shown + span) / (2 * span);
}

std::optional<FilmCommand> FilmCommandOfKey(int key, bool shift, std::int64_t length) {
  using Kind = FilmCommand::Kind;
  constexpr std::int64_t kFiveSeconds = 5 * kFilmFramesPerSecond;
  constexpr std::int64_t kMinute = 60 * kFilmFramesPerSecond;
  if (key >= kKey1 && key < kKey1 + 9) {
    const std::int64_t tenths = key - kKey1 + 1;
    return FilmCommand{Kind::Seek, ShownLength(length) * tenths / 10};
  }
  switch (key) {
    case kKeySpace:
      return FilmCommand{Kind::TogglePause};
    case kKeyRight:
      return shift ? FilmCommand{Kind::SeekBy, kFiveSeconds} : FilmCommand{Kind::Step};
    case kKeyPeriod:
      return FilmCommand{Kind::Step};
    case kKeyLeft:
      return FilmCommand{Kind::SeekBy, -kFiveSeconds};
    case kKeyPageUp:
      return FilmCommand{Kind::SeekBy, -kMinute};
    case kKeyPageDown:
      return FilmCommand{Kind::SeekBy, kMinute};
    case kKeyHome:
      return FilmCommand{Kind::Seek, 0};
    case kKeyEnd:
      return FilmCommand{Kind::Seek, ShownLength(length)};
    case kKeyMinus:
    case kKeyKeypadMinus:
      return FilmCommand{Kind::Slower};
    case kKeyEquals:
    case kKeyKeypadPlus:
      return FilmCommand{Kind::Faster};
    default:
      return std::nullopt;
  }
}

}  // namespace starvane
