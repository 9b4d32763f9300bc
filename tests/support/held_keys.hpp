#pragma once
// An input source for tests and benchmarks: the keys in `held` are down at every examination of
// the keyboard, and the mouse never moves.

#include "media/backend.hpp"

namespace starvane::testing {

class HeldKeys final : public InputSource {
 public:
  bool CaptureKeyboard(std::int64_t, KeyStates& keys) override {
    keys = held;
    return true;
  }
  MouseInput CaptureMouse(std::int64_t) override { return {}; }

  KeyStates held{};
};

}  // namespace starvane::testing
