#pragma once
// A game controller that exists only in software (SDL's virtual joystick, with the standard
// controller's buttons and axes), so that the way from a controller to the game's keys can be
// tried without a device. SDL must have been started by the real screen first.

#include <memory>

#include "media/pad_keys.hpp"

namespace starvane {

class VirtualPad {
 public:
  // Plugs a controller in: SDL announces it with its next events. nullptr when SDL cannot.
  static std::unique_ptr<VirtualPad> Attach();
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;
  ~VirtualPad();  // pulls it out again

  // Takes effect when SDL next reads its events (the screen's next frame).
  void SetButton(PadButton button, bool down);
  void SetAxis(PadAxis axis, int value);

 private:
  struct Device;
  explicit VirtualPad(std::unique_ptr<Device> device);
  std::unique_ptr<Device> device_;
};

}  // namespace starvane
