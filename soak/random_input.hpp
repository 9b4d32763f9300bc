#pragma once
// A seeded player who presses keys at random: the game's keys most of the time, held for a
// moment or for seconds, now and then any other key, and the mouse moving and clicking. Escape
// comes rarely, so that games last. F12 is left out (every press would write a screenshot).

#include <array>
#include <cstdint>

#include "media/backend.hpp"

namespace starvane::soak {

// A small, fast generator of the soak's own, apart from the game's: splitmix64.
class SoakRandom {
 public:
  explicit SoakRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  // 0 .. bound - 1 (bound > 0).
  std::uint32_t Below(std::uint32_t bound) { return static_cast<std::uint32_t>(Next() % bound); }

 private:
  std::uint64_t state_;
};

class RandomInput final : public InputSource {
 public:
  explicit RandomInput(std::uint64_t seed) : random_(seed) {}
  bool CaptureKeyboard(std::int64_t frames_presented, KeyStates& keys) override;
  MouseInput CaptureMouse(std::int64_t frames_presented) override;

 private:
  // The state changes only between presented frames, as a real source's would.
  void AdvanceTo(std::int64_t frames_presented);

  SoakRandom random_;
  std::int64_t frame_ = -1;
  std::array<std::int32_t, kKeyCount> held_for_{};  // frames each key stays down; 0: up
  bool in_stats_page_ = false;                      // as far as this player's own presses tell
  std::int64_t leave_stats_page_at_ = 0;
  MouseInput mouse_{};
  bool mouse_taken_ = false;  // the movement of this frame is given once
};

}  // namespace starvane::soak
