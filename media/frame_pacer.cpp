#include "media/frame_pacer.hpp"

#include <chrono>
#include <thread>

#if defined(__linux__)
#include <cerrno>
#include <ctime>
#endif

namespace starvane {

#if defined(__linux__)

std::int64_t SteadyClock::NowNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

void SteadyClock::SleepUntil(std::int64_t deadline) {
  if (deadline <= 0) return;
  timespec until{};
  until.tv_sec = static_cast<time_t>(deadline / 1'000'000'000);
  until.tv_nsec = static_cast<long>(deadline % 1'000'000'000);
  // A signal (the game's quit signals) interrupts the sleep: sleep on to the same deadline.
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

#else

std::int64_t SteadyClock::NowNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SteadyClock::SleepUntil(std::int64_t deadline) {
  // Without an absolute sleep on the monotonic clock, sleep short of the deadline by a
  // millisecond: the spin of WaitForNextFrame does the rest.
  const std::int64_t rest = deadline - NowNanoseconds() - 1'000'000;
  if (rest > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(rest));
}

#endif

void SteadyClock::Relax() {
  std::this_thread::yield();
}

std::int64_t FramePacer::DueTime(std::int64_t frame) const {
  // Whole seconds and the rest apart, so that no product can overflow however long the game.
  return start_ + frame / rate_ * 1'000'000'000 + frame % rate_ * 1'000'000'000 / rate_;
}

void FramePacer::WaitForNextFrame(PacingClock& clock) {
  if (rate_ <= 0) return;
  const std::int64_t now = clock.NowNanoseconds();
  if (!started_) {
    started_ = true;
    start_ = now;
    frame_ = 0;
    return;
  }
  ++frame_;
  const std::int64_t due = DueTime(frame_);
  const std::int64_t period = 1'000'000'000 / rate_;
  if (now - due > kStallFrames * period) {
    start_ = now;
    frame_ = 0;
    return;
  }
  if (now >= due) return;
  clock.SleepUntil(due);
  for (int spin = 0; spin < kMostSpins && clock.NowNanoseconds() < due; ++spin) clock.Relax();
}

}  // namespace starvane
