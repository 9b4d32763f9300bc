#pragma once
// The mouse as the STATS panel reads it: a position built from movements, held on the screen.

#include <array>
#include <cstdint>
#include <optional>

namespace starvane {

// A pointer position in screen pixels.
struct PointerPosition {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const PointerPosition&) const = default;
};

// What one capture of the mouse brings: the movement since the last one, and buttons 1 to 3.
// Windows follow the system's pointer, which is known by its position rather than by movements:
// then `pointer` holds where it was last put, and the movement counts from there. The wheel
// counts its steps since the last capture, positive away from the player (scrolling up).
struct MouseInput {
  std::int32_t dx = 0;
  std::int32_t dy = 0;
  std::array<bool, 3> buttons{};
  std::optional<PointerPosition> pointer{};
  std::int32_t wheel = 0;
};

class Mouse {
 public:
  // Puts the position where the pointer was put (if it was), adds the movement, clamping it to
  // 0..800 and 0..600 inclusive, and takes the button states and the wheel's steps.
  void Examine(const MouseInput& input);

  int MouseX() const { return x_; }
  int MouseY() const { return y_; }
  // 1 while the button (1 = left, 2 = right, 3 = middle) is held, else 0.
  int MouseButton(int button) const;
  // The wheel's steps at the last examination, positive away from the player.
  int MouseWheel() const { return wheel_; }

 private:
  int x_ = 0;
  int y_ = 0;
  std::array<bool, 3> buttons_{};
  int wheel_ = 0;
};

}  // namespace starvane
