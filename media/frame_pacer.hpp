#pragma once
// One simulation step per presented frame, at the game's own rate whatever the monitor's
// refresh rate: frame n is due at a fixed start plus n periods, so no error accumulates. The
// wait is one sleep until the due time itself (an absolute deadline on the monotonic clock, so
// a late wake-up is not carried into the next frame), and at most a short spin after an early
// wake-up: the game idles between frames instead of burning a core. After a long stall (the
// window was dragged, the machine was busy) the schedule starts afresh rather than running a
// burst of frames to catch up.

#include <cstdint>

namespace starvane {

class PacingClock {
 public:
  virtual ~PacingClock() = default;
  virtual std::int64_t NowNanoseconds() = 0;  // monotonic
  // Sleeps until the clock reads at least deadline (or a little before, when the system only
  // sleeps coarsely); may oversleep a little.
  virtual void SleepUntil(std::int64_t deadline) = 0;
  virtual void Relax() = 0;  // one turn of the short spin
};

// The monotonic clock of the machine (CLOCK_MONOTONIC where there is one).
class SteadyClock final : public PacingClock {
 public:
  std::int64_t NowNanoseconds() override;
  void SleepUntil(std::int64_t deadline) override;
  void Relax() override;
};

class FramePacer {
 public:
  static constexpr int kStallFrames = 5;   // this many periods late: start afresh
  static constexpr int kMostSpins = 1000;  // a clock that never gets there cannot hang the game

  // Frames per second; 0 or less presents at once.
  void SetFrameRate(int frames_per_second) {
    rate_ = frames_per_second;
    started_ = false;
  }
  // Returns when the next frame is due. The first frame is due at once.
  void WaitForNextFrame(PacingClock& clock);

 private:
  std::int64_t DueTime(std::int64_t frame) const;

  int rate_ = 0;
  bool started_ = false;
  std::int64_t start_ = 0;
  std::int64_t frame_ = 0;
};

}  // namespace starvane
