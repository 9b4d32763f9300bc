#include "media/mouse.hpp"

#include <algorithm>

#include "media/canvas.hpp"

namespace starvane {

void Mouse::Examine(const MouseInput& input) {
  if (input.pointer) {
    x_ = static_cast<int>(std::clamp<std::int32_t>(input.pointer->x, 0, kScreenWidth));
    y_ = static_cast<int>(std::clamp<std::int32_t>(input.pointer->y, 0, kScreenHeight));
  }
  x_ = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{x_} + input.dx, 0, kScreenWidth));
  y_ = static_cast<int>(std::clamp<std::int64_t>(std::int64_t{y_} + input.dy, 0, kScreenHeight));
  buttons_ = input.buttons;
  wheel_ = input.wheel;
}

int Mouse::MouseButton(int button) const {
  if (button < 1 || button > 3) return 0;
  return buttons_[static_cast<std::size_t>(button - 1)] ? 1 : 0;
}

}  // namespace starvane
