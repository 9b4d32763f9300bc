#include "media/sdl/sdl_pads.hpp"

namespace starvane {

// PadKeys numbers the buttons and axes as SDL's standard controller does.
static_assert(kPadButtonCount == SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1);
static_assert(static_cast<int>(PadButton::Start) == SDL_CONTROLLER_BUTTON_START);
static_assert(static_cast<int>(PadButton::LeftShoulder) == SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
static_assert(static_cast<int>(PadButton::DpadUp) == SDL_CONTROLLER_BUTTON_DPAD_UP);
static_assert(kPadAxisCount == SDL_CONTROLLER_AXIS_MAX);
static_assert(static_cast<int>(PadAxis::LeftTrigger) == SDL_CONTROLLER_AXIS_TRIGGERLEFT);

void SdlPads::Handle(const SDL_Event& event, LiveKeys& keys) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      // An arrival names the device's index; every later event its instance.
      SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
      if (controller == nullptr) break;
      const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
      if (!pads_.emplace(id, Pad{controller, {}}).second) SDL_GameControllerClose(controller);
      break;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
      const auto found = pads_.find(event.cdevice.which);
      if (found == pads_.end()) break;
      SDL_GameControllerClose(found->second.controller);
      pads_.erase(found);
      TellChanges(keys);  // pulled out while held: nothing stays down
      break;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const auto found = pads_.find(event.cbutton.which);
      if (found == pads_.end() || event.cbutton.button >= kPadButtonCount) break;
      found->second.keys.SetButton(static_cast<PadButton>(event.cbutton.button),
                                   event.cbutton.state == SDL_PRESSED);
      TellChanges(keys);
      break;
    }
    case SDL_CONTROLLERAXISMOTION: {
      const auto found = pads_.find(event.caxis.which);
      if (found == pads_.end() || event.caxis.axis >= kPadAxisCount) break;
      found->second.keys.SetAxis(static_cast<PadAxis>(event.caxis.axis), event.caxis.value);
      TellChanges(keys);
      break;
    }
    default:
      break;
  }
}

void SdlPads::TellChanges(LiveKeys& keys) {
  KeyStates held{};
  for (const auto& [id, pad] : pads_) pad.keys.HoldPadKeys(held);
  for (int code = kPadKeyFirst; code <= kPadKeyLast; ++code) {
    const auto index = static_cast<std::size_t>(code);
    if (held[index] != held_[index]) keys.SetKey(code, held[index] != 0);
  }
  held_ = held;
}

}  // namespace starvane
