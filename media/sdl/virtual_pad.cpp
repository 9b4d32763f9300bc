#include "media/sdl/virtual_pad.hpp"

#include <SDL.h>

#include <algorithm>

namespace starvane {

struct VirtualPad::Device {
  int index = -1;
  SDL_Joystick* joystick = nullptr;
};

std::unique_ptr<VirtualPad> VirtualPad::Attach() {
  const int index =
      SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1, 0);
  if (index < 0) return nullptr;
  SDL_Joystick* joystick = SDL_JoystickOpen(index);
  if (joystick == nullptr) {
    SDL_JoystickDetachVirtual(index);
    return nullptr;
  }
  return std::unique_ptr<VirtualPad>(
      new VirtualPad(std::make_unique<Device>(Device{index, joystick})));
}

VirtualPad::VirtualPad(std::unique_ptr<Device> device) : device_(std::move(device)) {}

VirtualPad::~VirtualPad() {
  SDL_JoystickClose(device_->joystick);
  SDL_JoystickDetachVirtual(device_->index);
}

void VirtualPad::SetButton(PadButton button, bool down) {
  SDL_JoystickSetVirtualButton(device_->joystick, static_cast<int>(button),
                               down ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualPad::SetAxis(PadAxis axis, int value) {
  SDL_JoystickSetVirtualAxis(device_->joystick, static_cast<int>(axis),
                             static_cast<Sint16>(std::clamp(value, -32768, 32767)));
}

}  // namespace starvane
