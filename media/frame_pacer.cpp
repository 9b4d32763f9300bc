#include "media/frame_pacer.hpp"

#include <chrono>
#include <thread>

namespace starvane {

std::int64_t SteadyClock::NowNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SteadyClock::SleepFor(std::int64_t nanoseconds) {
  std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds));
}

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
  if (due - now > kCoarseMargin) clock.SleepFor(due - now - kCoarseMargin);
  while (clock.NowNanoseconds() < due) clock.Relax();
}

}  // namespace starvane
