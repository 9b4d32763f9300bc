#include "media/sdl/sdl_pads.hpp"

namespace starvane {

// PadKeys numbers the buttons and axes as SDL's standard controller does.
static_assert(kPadButtonCount == SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1);
static_assert(static_cast<int>(PadButton::Start) == SDL_CONTROLLER_BUTTON_START);
static_assert(static_cast<int>(PadButton::LeftShoulder) == SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
static_assert(static_cast<int>(PadButton::DpadUp) == SDL_CONTROLLER_BUTTON_DPAD_UP);
static_assert(kPadAxisCount == SDL_CONTROLLER_AXIS_MAX);
static_assert(static_cast<int>(PadAxis::LeftTrigger) == SDL_CONTROLLER_AXIS_TRIGGERLEFT);

void SdlPads::Handle(const SDL_Event& event) {
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
      break;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const auto found = pads_.find(event.cbutton.which);
      if (found == pads_.end() || event.cbutton.button >= kPadButtonCount) break;
      found->second.keys.SetButton(static_cast<PadButton>(event.cbutton.button),
                                   event.cbutton.state == SDL_PRESSED);
      break;
    }
    case SDL_CONTROLLERAXISMOTION: {
      const auto found = pads_.find(event.caxis.which);
      if (found == pads_.end() || event.caxis.axis >= kPadAxisCount) break;
      found->second.keys.SetAxis(static_cast<PadAxis>(event.caxis.axis), event.caxis.value);
      break;
    }
    default:
      break;
  }
}

void SdlPads::HoldKeys(KeyStates& keys) {
  for (auto& [id, pad] : pads_) pad.keys.HoldKeys(keys);
  for (auto& [id, pad] : pads_) pad.keys.NoteWeaponKeys(keys);
}

}  // namespace starvane
