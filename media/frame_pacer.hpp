#pragma once
// One simulation step per presented frame, at the game's own rate whatever the monitor's
// refresh rate: frame n is due at a fixed start plus n periods, so no error accumulates. The
// wait sleeps coarsely, then waits finely for the due time. After a long stall (the window was
// dragged, the machine was busy) the schedule starts afresh rather than running a burst of
// frames to catch up.

#include <cstdint>

namespace starvane {

class PacingClock {
 public:
  virtual ~PacingClock() = default;
  virtual std::int64_t NowNanoseconds() = 0;            // monotonic
  virtual void SleepFor(std::int64_t nanoseconds) = 0;  // may oversleep a little
  virtual void Relax() = 0;                             // one turn of the fine wait
};

// The monotonic high-resolution clock of the machine.
class SteadyClock final : public PacingClock {
 public:
  std::int64_t NowNanoseconds() override;
  void SleepFor(std::int64_t nanoseconds) override;
  void Relax() override;
};

class FramePacer {
 public:
  static constexpr std::int64_t kCoarseMargin = 2'000'000;  // fine wait for the last 2 ms
  static constexpr int kStallFrames = 5;                    // this many periods late: start afresh

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
