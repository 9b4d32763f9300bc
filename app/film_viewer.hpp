#pragma once
// The film as the viewer sees it: it obeys the viewer's commands (pause, step, speed, seek)
// before each frame, presents the frames the screen can show at the chosen speed, and shows
// the controls' state with each presented picture (media/film_controls.hpp).

#include <cstdint>
#include <optional>

#include "app/film_snapshots.hpp"
#include "media/backend.hpp"
#include "media/canvas.hpp"
#include "media/film_controls.hpp"
#include "media/film_director.hpp"
#include "media/media.hpp"

namespace starvane {

class FilmViewer final : public FilmDirector {
 public:
  // length: the film's frames; stay_at_end: at its end it stands, paused, until the viewer seeks
  // or closes (else it ends there, as a headless film does).
  FilmViewer(Game& game, const FilmSnapshots& snapshots, std::int64_t length, bool stay_at_end);

  std::optional<LoopEnd> BeforeFrame() override;
  void AfterFrame(bool flipped) override;

  // The recording's game ended: the film stands at its last frame, paused. The frame to seek
  // to when the viewer asks for one, nothing when the film ends (closed, or not kept standing).
  std::optional<std::int64_t> StandAtEnd();
  // The frame of the seek that made the loops end (LoopEnd::Seek).
  std::int64_t TakeSeek();
  // The game was taken back to a snapshot for a seek to this frame: it runs there unseen.
  void SeekFrom(const FilmSnapshot& snapshot, std::int64_t frame);
  bool Closed() const { return closed_; }

 private:
  std::int64_t Frame() const { return snapshots_.FrameOf(game_); }
  // The commands until the film may go on; waits while it is paused.
  std::optional<LoopEnd> Obey();
  bool Apply(const FilmCommand& command);
  void SeekTo(std::int64_t frame);
  // Presents the picture on the screen with the controls as they stand.
  void Show();

  Game& game_;
  Display& display_;
  const FilmSnapshots& snapshots_;
  bool stay_at_end_;
  FilmState state_;
  Canvas shown_;                         // the picture of the film's frame
  Canvas first_;                         // the picture before its first frame
  std::optional<std::int64_t> target_;   // a frame being run to unseen, shown once reached
  std::optional<std::int64_t> go_back_;  // a frame to seek to from a snapshot
  bool closed_ = false;
};

}  // namespace starvane
