#include "media/frame_pacer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "media/screen_fit.hpp"

namespace starvane {
namespace {

constexpr std::int64_t kMillisecond = 1'000'000;
constexpr std::int64_t kSecond = 1'000'000'000;

// A clock that moves only when the code under test sleeps or waits, and a display whose
// present blocks until its next vertical retrace, as a vsync'ed present does.
class FakeClock final : public PacingClock {
 public:
  std::int64_t NowNanoseconds() override { return now; }
  void SleepFor(std::int64_t nanoseconds) override { now += nanoseconds + oversleep; }
  void Relax() override { now += 50'000; }

  void PresentAtRetrace(int refresh_hz) {
    const std::int64_t period = kSecond / refresh_hz;
    now = (now / period + 1) * period;
  }

  std::int64_t now = 123 * kSecond;
  std::int64_t oversleep = 0;
};

// Runs the loop of a game for the given simulated time: a step's work, the pacer's wait, a
// present. Returns the times at which frames were presented.
std::vector<std::int64_t> Play(FakeClock& clock, FramePacer& pacer, int refresh_hz,
                               std::int64_t duration, std::int64_t work = 3 * kMillisecond) {
  std::vector<std::int64_t> presented;
  const std::int64_t end = clock.now + duration;
  while (clock.now < end) {
    clock.now += work;
    pacer.WaitForNextFrame(clock);
    clock.PresentAtRetrace(refresh_hz);
    presented.push_back(clock.now);
  }
  return presented;
}

TEST(FramePacer, FiftyStepsASecondOnAnyMonitor) {
  for (int hz : {60, 75, 144, 240}) {
    FakeClock clock;
    clock.oversleep = kMillisecond / 2;
    FramePacer pacer;
    pacer.SetFrameRate(50);
    const auto frames = Play(clock, pacer, hz, 10 * kSecond);
    EXPECT_NEAR(static_cast<double>(frames.size()), 500.0, 2.0) << hz << " Hz";
  }
}

TEST(FramePacer, DueTimesDoNotDrift) {
  FakeClock clock;
  FramePacer pacer;
  pacer.SetFrameRate(50);
  const std::int64_t start = clock.now;
  pacer.WaitForNextFrame(clock);  // the first frame is due at once
  EXPECT_EQ(clock.now, start);
  for (int i = 0; i < 1000; ++i) {
    clock.now += kMillisecond;
    pacer.WaitForNextFrame(clock);
  }
  // Frame 1000 is due exactly 20 s after the start; the fine wait overshoots by < one turn.
  EXPECT_GE(clock.now, start + 20 * kSecond);
  EXPECT_LT(clock.now, start + 20 * kSecond + 50'000);
}

TEST(FramePacer, AfterAStallTheScheduleStartsAfreshWithoutABurst) {
  FakeClock clock;
  FramePacer pacer;
  pacer.SetFrameRate(50);
  Play(clock, pacer, 144, kSecond);
  clock.now += 3 * kSecond;  // the window was dragged
  const auto frames = Play(clock, pacer, 144, kSecond);
  std::int64_t shortest = kSecond;
  for (std::size_t i = 1; i < frames.size(); ++i) {
    shortest = std::min(shortest, frames[i] - frames[i - 1]);
  }
  EXPECT_GE(shortest, 13 * kMillisecond);  // 144 Hz retraces: two frames never back to back
  EXPECT_NEAR(static_cast<double>(frames.size()), 50.0, 2.0);
}

TEST(FramePacer, ShortDelaysAreMadeUpToKeepThePace) {
  FakeClock clock;
  FramePacer pacer;
  pacer.SetFrameRate(50);
  Play(clock, pacer, 240, kSecond);
  clock.now += 50 * kMillisecond;  // a hiccup of two and a half frames
  const auto frames = Play(clock, pacer, 240, 2 * kSecond);
  EXPECT_NEAR(static_cast<double>(frames.size()), 100.0 + 2.0, 1.0);
}

TEST(FramePacer, NoRateNoWaiting) {
  FakeClock clock;
  FramePacer pacer;
  const std::int64_t start = clock.now;
  for (int i = 0; i < 10; ++i) pacer.WaitForNextFrame(clock);
  EXPECT_EQ(clock.now, start);
}

TEST(ScreenFit, WholeScaleWhenItFitsAspectKeptAndCentred) {
  const Viewport full_hd = FitScreen(1920, 1080);  // 1.8x: 1x, centred
  EXPECT_EQ(full_hd.width, 800);
  EXPECT_EQ(full_hd.height, 600);
  EXPECT_EQ(full_hd.x, 560);
  EXPECT_EQ(full_hd.y, 240);
  const Viewport four_k = FitScreen(3840, 2160);  // 3.6x: 3x
  EXPECT_EQ(four_k.width, 2400);
  EXPECT_EQ(four_k.height, 1800);
  EXPECT_EQ(four_k.x, 720);
  const Viewport exact = FitScreen(1600, 1200);
  EXPECT_EQ(exact.width, 1600);
  EXPECT_EQ(exact.x, 0);
  const Viewport small = FitScreen(640, 480);  // smaller than the image: scaled down, aspect kept
  EXPECT_EQ(small.width, 640);
  EXPECT_EQ(small.height, 480);
  const Viewport tall = FitScreen(700, 2000);
  EXPECT_EQ(tall.width, 700);
  EXPECT_EQ(tall.height, 525);
  EXPECT_EQ(tall.y, (2000 - 525) / 2);
  const Viewport none = FitScreen(0, 600);
  EXPECT_EQ(none.width, 0);
}

}  // namespace
}  // namespace starvane
