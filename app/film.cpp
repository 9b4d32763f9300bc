#include "app/film.hpp"

#include "app/film_run_ahead.hpp"
#include "app/film_snapshots.hpp"
#include "app/film_viewer.hpp"
#include "app/frame_loop.hpp"

namespace starvane {

LoopEnd RunFilm(Game& game, const FilmSettings& settings) {
  Media& media = game.media;
  FilmSnapshots snapshots(media.FramesPresented(), settings.snapshot_every,
                          settings.most_snapshots);
  snapshots.KeepWhenDue(game);  // the film's start
  const RunAheadEnd ahead = RunAhead(game, snapshots, media.FilmDisplay());
  if (ahead.stopped) return LoopEnd::Closed;

  FilmViewer viewer(game, snapshots, ahead.length, settings.stay_at_end);
  media.DirectFilm(&viewer);
  struct Undirect {
    Media& media;
    ~Undirect() { media.DirectFilm(nullptr); }
  } undirect{media};
  for (;;) {
    const LoopEnd end = RunFrameLoop(game);
    if (viewer.Closed()) return LoopEnd::Closed;
    const auto seek = end == LoopEnd::Seek ? viewer.TakeSeek() : viewer.StandAtEnd();
    if (!seek) return viewer.Closed() ? LoopEnd::Closed : end;
    const FilmSnapshot& from = snapshots.Before(*seek);
    FilmSnapshots::GoBack(from, game);
    viewer.SeekFrom(from, *seek);
  }
}

}  // namespace starvane
