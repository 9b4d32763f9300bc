#pragma once
// The snapshots of a film: the whole game kept every so many frames, at the top of its frame
// loop. A seek takes the game back to the last snapshot before its frame and runs forward from
// there without presenting, so that the frame shown is the one a straight play shows.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/media.hpp"
#include "world/game.hpp"

namespace starvane {

struct FilmSnapshot {
  std::int64_t frame = 0;  // the film's frame when it was kept
  GameState game;
  Media::FilmPoint media;
};

class FilmSnapshots {
 public:
  // A snapshot every 250 frames (5 seconds of play) at first, at most 64 of them: about a
  // megabyte each, with the world's bodies. Then every other one goes and they are kept twice
  // as far apart from then on, so memory stays bounded however long the film, and a seek runs
  // forward at most `every` frames.
  static constexpr std::int64_t kFirstEvery = 250;
  static constexpr std::size_t kMost = 64;

  // start: the frames presented when the film began, its frame 0.
  explicit FilmSnapshots(std::int64_t start, std::int64_t every = kFirstEvery,
                         std::size_t most = kMost);

  // The film's frame the game stands at.
  std::int64_t FrameOf(const Game& game) const { return game.media.FramesPresented() - start_; }
  // Keeps the game when a snapshot is due at its frame (the first one at once).
  void KeepWhenDue(const Game& game);
  // The last snapshot before the frame, the first one for frame 0: where a seek to it begins.
  const FilmSnapshot& Before(std::int64_t frame) const;
  // Takes the game, and its media, back to the snapshot.
  static void GoBack(const FilmSnapshot& snapshot, Game& game);

  std::size_t Count() const { return kept_.size(); }
  std::int64_t Every() const { return every_; }

 private:
  std::int64_t start_;
  std::int64_t every_;
  std::size_t most_;
  std::int64_t next_ = 0;  // the frame of the next snapshot due
  std::vector<FilmSnapshot> kept_;
};

}  // namespace starvane
