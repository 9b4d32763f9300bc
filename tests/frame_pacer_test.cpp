#include "media/frame_pacer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace starvane {
namespace {

constexpr std::int64_t kMillisecond = 1'000'000;
constexpr std::int64_t kSecond = 1'000'000'000;

// A clock that moves only when the code under test sleeps or waits, and a display whose
// present blocks until its next vertical retrace, as a vsync'ed present does.
class FakeClock final : public PacingClock {
 public:
  std::int64_t NowNanoseconds() override { return now; }
  void SleepUntil(std::int64_t deadline) override {
    ++sleeps;
    now = std::max(now, deadline) + oversleep;
  }
  void Relax() override {
    ++relaxes;
    now += 50'000;
  }

  void PresentAtRetrace(int refresh_hz) {
    const std::int64_t period = kSecond / refresh_hz;
    now = (now / period + 1) * period;
  }

  std::int64_t now = 123 * kSecond;
  std::int64_t oversleep = 0;
  int sleeps = 0;
  int relaxes = 0;
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
  // Frame 1000 is due exactly 20 s after the start, and the wait ends right then.
  EXPECT_EQ(clock.now, start + 20 * kSecond);
}

TEST(FramePacer, EachFrameIsOneSleepToItsDueTimeWithoutSpinning) {
  FakeClock clock;
  clock.oversleep = 80'000;  // the system wakes a sleeper a little late
  FramePacer pacer;
  pacer.SetFrameRate(50);
  const std::int64_t start = clock.now;
  pacer.WaitForNextFrame(clock);
  for (int i = 0; i < 100; ++i) {
    clock.now += 3 * kMillisecond;
    pacer.WaitForNextFrame(clock);
  }
  EXPECT_EQ(clock.sleeps, 100);
  EXPECT_EQ(clock.relaxes, 0);
  // The late wake-ups do not add up: the schedule is absolute.
  EXPECT_EQ(clock.now, start + 2 * kSecond + 80'000);
}

// A system without an absolute sleep wakes a millisecond early: a short spin does the rest.
class EarlyClock final : public PacingClock {
 public:
  std::int64_t NowNanoseconds() override { return now; }
  void SleepUntil(std::int64_t deadline) override { now = std::max(now, deadline - kMillisecond); }
  void Relax() override { now += 100'000; }
  std::int64_t now = 0;
};

TEST(FramePacer, AnEarlyWakeUpIsMadeUpByAShortSpin) {
  EarlyClock clock;
  FramePacer pacer;
  pacer.SetFrameRate(50);
  pacer.WaitForNextFrame(clock);
  pacer.WaitForNextFrame(clock);
  EXPECT_EQ(clock.now, 20 * kMillisecond);
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

}  // namespace
}  // namespace starvane
