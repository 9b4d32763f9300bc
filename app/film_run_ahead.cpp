#include "app/film_run_ahead.hpp"

#include "app/frame_loop.hpp"
#include "media/film_director.hpp"
#include "media/media.hpp"
#include "media/quit_signal.hpp"

namespace starvane {
namespace {

// How often the viewer's window is asked for its messages: a few times a second.
constexpr std::int64_t kFramesBetweenMessages = 200;

class AheadDirector final : public FilmDirector {
 public:
  AheadDirector(const Game& game, FilmSnapshots& snapshots, Display& viewer)
      : game_(game), snapshots_(snapshots), viewer_(viewer) {}

  void AtFrameLoopTop() override { snapshots_.KeepWhenDue(game_); }
  std::optional<LoopEnd> BeforeFrame() override {
    if (++frames_ % kFramesBetweenMessages == 0) {
      viewer_.WaitForWindowMessage(0);
      if (viewer_.CloseRequested() || QuitSignalled()) stopped = true;
    }
    if (stopped) return LoopEnd::Closed;
    return {};
  }
  void AfterFrame(bool) override {}  // nothing is shown

  bool stopped = false;

 private:
  const Game& game_;
  FilmSnapshots& snapshots_;
  Display& viewer_;
  std::int64_t frames_ = 0;
};

}  // namespace

RunAheadEnd RunAhead(const Game& film, FilmSnapshots& snapshots, Display& viewer) {
  Media media(film.media.Files.Directory());
  Game game(media);
  FilmSnapshots::GoBack(snapshots.Before(0), game);
  AheadDirector director(game, snapshots, viewer);
  media.DirectFilm(&director);
  const LoopEnd end = RunFrameLoop(game);
  return {.end = end,
          .length = snapshots.FrameOf(game),
          .stopped = director.stopped || QuitSignalled()};
}

}  // namespace starvane
