#include "app/film_snapshots.hpp"

#include <algorithm>

namespace starvane {

FilmSnapshots::FilmSnapshots(std::int64_t start, std::int64_t every, std::size_t most)
    : start_(start),
      every_(std::max<std::int64_t>(every, 1)),
      most_(std::max<std::size_t>(most, 2)) {}

void FilmSnapshots::KeepWhenDue(const Game& game) {
  const std::int64_t frame = FrameOf(game);
  if (frame < next_) return;
  if (kept_.size() >= most_) {
    // Every other one goes, the first kept: the rest stand twice as far apart.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < kept_.size(); i += 2) kept_[kept++] = std::move(kept_[i]);
    kept_.resize(kept);
    every_ *= 2;
  }
  kept_.push_back({frame, game, game.media.SaveFilmPoint()});
  next_ = frame + every_;
}

const FilmSnapshot& FilmSnapshots::Before(std::int64_t frame) const {
  // Kept in the order of their frames, the first at frame 0.
  const auto after = std::partition_point(
      kept_.begin() + 1, kept_.end(), [frame](const FilmSnapshot& s) { return s.frame < frame; });
  return *(after - 1);
}

void FilmSnapshots::GoBack(const FilmSnapshot& snapshot, Game& game) {
  static_cast<GameState&>(game) = snapshot.game;
  game.media.RestoreFilmPoint(snapshot.media);
}

}  // namespace starvane
