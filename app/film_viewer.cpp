#include "app/film_viewer.hpp"

#include <algorithm>

#include "media/quit_signal.hpp"

namespace starvane {
namespace {

// How long a paused film waits for the window before it looks at the commands again.
constexpr int kPausedWaitMilliseconds = 100;

// The speed asked for, as one of the film's speeds: a power of two from a quarter to eight.
int FilmQuarters(std::int64_t asked) {
  int quarters = kFilmSlowestQuarters;
  while (quarters * 2 <= std::min<std::int64_t>(asked, kFilmFastestQuarters)) quarters *= 2;
  return quarters;
}

}  // namespace

FilmViewer::FilmViewer(Game& game, const FilmSnapshots& snapshots, std::int64_t length,
                       bool stay_at_end)
    : game_(game),
      display_(game.media.FilmDisplay()),
      snapshots_(snapshots),
      stay_at_end_(stay_at_end),
      shown_(game.media.Screen),
      first_(game.media.Screen) {
  state_.length = length;
}

std::optional<LoopEnd> FilmViewer::BeforeFrame() {
  if (target_) return {};  // on the way to a frame: nothing else until it is reached
  return Obey();
}

std::optional<LoopEnd> FilmViewer::Obey() {
  for (;;) {
    if (display_.CloseRequested() || QuitSignalled()) {
      closed_ = true;
      return LoopEnd::Closed;
    }
    bool changed = false;
    for (const FilmCommand& command : display_.TakeFilmCommands()) changed |= Apply(command);
    if (go_back_) return LoopEnd::Seek;
    if (target_ || !state_.paused) return {};
    // Paused: the picture stays, and the window is served until the viewer asks for something.
    if (changed || display_.WaitForWindowMessage(kPausedWaitMilliseconds)) Show();
  }
}

bool FilmViewer::Apply(const FilmCommand& command) {
  switch (command.kind) {
    case FilmCommand::Kind::TogglePause:
      if (state_.ended) {
        state_.paused = false;
        SeekTo(0);  // a film that ended plays again from its start
      } else {
        state_.paused = !state_.paused;
      }
      break;
    case FilmCommand::Kind::Step:
      state_.paused = true;
      if (!state_.ended) SeekTo(Frame() + 1);
      break;
    case FilmCommand::Kind::Slower:
      state_.quarters = FilmQuarters(state_.quarters / 2);
      break;
    case FilmCommand::Kind::Faster:
      state_.quarters = FilmQuarters(state_.quarters * 2);
      break;
    case FilmCommand::Kind::SetSpeed:
      state_.quarters = FilmQuarters(command.value);
      break;
    case FilmCommand::Kind::Seek:
      SeekTo(command.value);
      break;
    case FilmCommand::Kind::SeekBy:
      // Clamped first, so that no value overflows the sum.
      SeekTo(Frame() + std::clamp(command.value, -state_.length, state_.length));
      break;
  }
  return true;
}

void FilmViewer::SeekTo(std::int64_t frame) {
  frame = std::clamp<std::int64_t>(frame, 0, state_.length);
  const std::int64_t now = Frame();
  target_.reset();
  go_back_.reset();
  if (frame == now) return;
  // Forward, the game runs on from where it stands when that is nearer than any snapshot;
  // anything else goes back to the last snapshot before the frame.
  if (!state_.ended && frame > now && frame - now <= frame - snapshots_.Before(frame).frame) {
    target_ = frame;
  } else {
    go_back_ = frame;
  }
}

void FilmViewer::AfterFrame(bool /*flipped*/) {
  // The back buffer holds the frame's picture, flipped or kept (a kept frame leaves the last
  // flipped picture in it).
  const std::int64_t frame = Frame();
  if (target_) {
    if (frame < *target_) return;
    target_.reset();
    shown_ = game_.media.Screen;
    Show();
    return;
  }
  shown_ = game_.media.Screen;
  if (state_.quarters >= kFilmNormalQuarters) {
    // Faster than the game: one frame of every few is shown, the screen's pace stays.
    if (frame % (state_.quarters / kFilmNormalQuarters) == 0) Show();
  } else {
    // Slower: each frame stays on the screen for several of its frames.
    for (int i = 0; i < kFilmNormalQuarters / state_.quarters; ++i) Show();
  }
}

std::optional<std::int64_t> FilmViewer::StandAtEnd() {
  if (target_) {  // the game ended on the way: its last picture stays
    target_.reset();
    shown_ = game_.media.Screen;
  }
  state_.ended = true;
  state_.paused = true;
  if (!stay_at_end_) return {};
  Show();
  for (;;) {
    if (Obey() == LoopEnd::Closed) return {};
    if (go_back_) {
      state_.ended = false;
      return TakeSeek();
    }
    state_.paused = true;  // nothing plays after the end but from a seek
  }
}

std::int64_t FilmViewer::TakeSeek() {
  const std::int64_t frame = go_back_.value_or(Frame());
  go_back_.reset();
  return frame;
}

void FilmViewer::SeekFrom(const FilmSnapshot& snapshot, std::int64_t frame) {
  if (frame > snapshot.frame) {
    target_ = frame;
    return;
  }
  // Only the film's start is a snapshot's own frame: its picture is the one before the film.
  shown_ = first_;
  Show();
}

void FilmViewer::Show() {
  state_.frame = Frame();
  display_.ShowFilm(state_);
  display_.Present(shown_);
}

}  // namespace starvane
