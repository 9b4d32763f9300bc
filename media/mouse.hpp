#pragma once
// The mouse as the STATS panel reads it: a position built from movements, held on the screen.

#include <array>
#include <cstdint>

namespace starvane {

// What one capture of the mouse brings: the movement since the last one, and buttons 1 to 3.
struct MouseInput {
  std::int32_t dx = 0;
  std::int32_t dy = 0;
  std::array<bool, 3> buttons{};
};

class Mouse {
 public:
  // Adds the movement to the position, clamping it to 0..800 and 0..600 inclusive, and takes
  // the button states.
  void Examine(const MouseInput& input);

  int MouseX() const { return x_; }
  int MouseY() const { return y_; }
  // 1 while the button (1 = left, 2 = right, 3 = middle) is held, else 0.
  int MouseButton(int button) const;

 private:
  int x_ = 0;
  int y_ = 0;
  std::array<bool, 3> buttons_{};
};

}  // namespace starvane
