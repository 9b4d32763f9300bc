// The media layer's side of a film (media/film_director.hpp): frames counted for the director,
// and the media's part of a snapshot of the game.

#include "media/media.hpp"

namespace starvane {

void Media::FilmFrame(bool flipped) {
  ++frames_presented_;
  screenshot_asked_ = false;  // a watched game writes nothing, its F12 included
  film_->AfterFrame(flipped);
}

Media::FilmPoint Media::SaveFilmPoint() const {
  return {.frames_presented = frames_presented_,
          .frame_limit = frame_limit_,
          .keyboard = keyboard_,
          .mouse = mouse_,
          .key_events = key_events_,
          .focus_lost = focus_lost_,
          .key_to_press = key_to_press_,
          .press_after_frame = press_after_frame_,
          .screenshot_asked = screenshot_asked_,
          .sound_held = sound_held_,
          .keyboard_examinations = keyboard_examinations_,
          .pen = Screen.CurrentPen(),
          .script = script_ ? std::shared_ptr<const InputSource>(script_->Copy()) : nullptr};
}

void Media::RestoreFilmPoint(const FilmPoint& point) {
  frames_presented_ = point.frames_presented;
  frame_limit_ = point.frame_limit;
  keyboard_ = point.keyboard;
  mouse_ = point.mouse;
  key_events_ = point.key_events;
  focus_lost_ = point.focus_lost;
  key_to_press_ = point.key_to_press;
  press_after_frame_ = point.press_after_frame;
  screenshot_asked_ = point.screenshot_asked;
  sound_held_ = point.sound_held;
  keyboard_examinations_ = point.keyboard_examinations;
  Screen.TakePen(point.pen);
  if (point.script) {
    script_ = point.script->Copy();
    input_ = script_.get();
  }
}

}  // namespace starvane
