// Watching a recording as a film (app/film.hpp): the frames shown after a seek are a straight
// play's, wherever the game stands (a pause, the STATS page), and the speed, the step, the pause
// and the end present what they say.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/film.hpp"
#include "app/state_summary.hpp"
#include "media/backend.hpp"
#include "media/film_controls.hpp"
#include "tests/support/harness.hpp"

namespace starvane {
namespace {

using starvane::testing::Harness;
using starvane::testing::World;
using Kind = FilmCommand::Kind;

// A viewer: hands its commands one after the other, each once the film shows the frame it
// waits for (and, when it says so, only after the film has ended once); keeps what each
// presented picture showed; closes the film when its commands are done and the film stands.
class Viewer final : public HeadlessDisplay {
 public:
  struct Cue {
    std::int64_t at;
    FilmCommand command;
    bool after_end = true;
  };
  struct Shown {
    FilmState state;
    std::string summary;  // the game's state summary (with its picture's hash), when asked for
  };

  explicit Viewer(std::vector<Cue> cues) : cues_(std::move(cues)) {}

  void ShowFilm(const FilmState& state) override {
    state_ = state;
    ended_once_ = ended_once_ || state.ended;
  }
  void Present(const Canvas&) override {
    shown.push_back({state_, summarised.contains(state_.frame) ? StateSummary(*game, 0) : ""});
    if (next_ == cues_.size()) closing_ = true;
  }
  std::vector<FilmCommand> TakeFilmCommands() override {
    ++asked_;
    if (next_ == cues_.size() || cues_[next_].at != state_.frame) return {};
    if (cues_[next_].after_end && !ended_once_) return {};
    return {cues_[next_++].command};
  }
  // A film that misses its cues is closed all the same, after more pictures (or more asks for
  // commands) than any test's.
  bool CloseRequested() const override {
    return (closing_ && state_.paused) || shown.size() > 500 || asked_ > 100000;
  }

  const Game* game = nullptr;
  std::set<std::int64_t> summarised;  // the frames whose state summary is kept
  std::vector<Shown> shown;

 private:
  std::vector<Cue> cues_;
  std::size_t next_ = 0;
  FilmState state_;
  bool ended_once_ = false;
  bool closing_ = false;  // the commands are done and the last one's picture presented
  std::int64_t asked_ = 0;
};

// Thrust and fire, a pause (P at 8, again at 14), the STATS page (C at 22, a click, C at 36),
// then a turn to the end.
constexpr std::string_view kFilmScript =
    "0 down Up Space\n8 down P\n9 up P\n14 down P\n15 up P\n20 up Up\n22 down C\n23 up C\n"
    "28 pointer 156 122\n30 press\n31 release\n36 down C\n37 up C\n40 down Left\n50 end frames\n";

struct Watched {
  std::vector<Viewer::Shown> shown;
  LoopEnd end;
};

Watched Watch(std::vector<Viewer::Cue> cues, std::string_view script = kFilmScript,
              std::set<std::int64_t> summarised = {}) {
  auto viewer = std::make_unique<Viewer>(std::move(cues));
  viewer->summarised = std::move(summarised);
  Viewer& seen = *viewer;
  Harness t({.script = script,
             .display = std::move(viewer),
             .seed = 3,
             .difficulty = 1,
             .half_extent = 2000,
             .world = World::Generated,
             .arm = true});
  seen.game = &t.game;
  const LoopEnd end = RunFilm(t.game, {.snapshot_every = 10});
  return {seen.shown, end};
}

TEST(Film, ASeekShowsTheFrameAStraightPlayShowsThereFromAPauseAndTheStatsPageToo) {
  // The film plays straight to its end, then seeks: back into the STATS page, from there back
  // to the C that opened it (held: its release is still to come), from there back into the
  // pause, from there far forward, one step, and back by a few frames.
  const Watched film = Watch({{50, {Kind::Seek, 30}},
                              {30, {Kind::Seek, 23}},
                              {23, {Kind::Seek, 11}},
                              {11, {Kind::Seek, 45}},
                              {45, {Kind::Step}},
                              {46, {Kind::SeekBy, -20}}},
                             kFilmScript, {30, 23, 11, 45, 46, 26});
  std::map<std::int64_t, const Viewer::Shown*> straight;
  std::vector<std::int64_t> landed;
  for (const Viewer::Shown& shown : film.shown) {
    if (!straight.contains(shown.state.frame)) {
      straight[shown.state.frame] = &shown;
    } else if (shown.state.paused && !shown.state.ended) {
      landed.push_back(shown.state.frame);
      EXPECT_EQ(shown.summary, straight[shown.state.frame]->summary) << shown.state.frame;
    }
  }
  EXPECT_EQ(straight.size(), 50u);  // frames 1 to 50, each shown once on the way
  EXPECT_EQ(landed, (std::vector<std::int64_t>{30, 23, 11, 45, 46, 26}));
  EXPECT_EQ(film.end, LoopEnd::Closed);
}

// The frames presented, in order, each as its number, "p" when paused and "e" when ended.
std::string Presented(const std::vector<Viewer::Shown>& shown) {
  std::string frames;
  for (const Viewer::Shown& s : shown) {
    frames += std::to_string(s.state.frame) + (s.state.ended ? "e " : s.state.paused ? "p " : " ");
  }
  return frames;
}

std::string Each(int from, int to, int times) {
  std::string frames;
  for (int frame = from; frame <= to; ++frame) {
    for (int i = 0; i < times; ++i) frames += std::to_string(frame) + " ";
  }
  return frames;
}

TEST(Film, FastShowsEveryFewFramesSlowShowsEachSeveralTimesAStepPausesTheEndStands) {
  // Twice the speed from frame 1, a quarter from 10, a step at 12, half the speed and play at
  // 13; at the end, play again from the start.
  const Watched film = Watch({{1, {Kind::SetSpeed, 8}, false},
                              {10, {Kind::SetSpeed, 1}, false},
                              {12, {Kind::Step}, false},
                              {13, {Kind::Faster}, false},
                              {13, {Kind::TogglePause}, false},
                              {20, {Kind::TogglePause}}},
                             "0 down Up\n20 end frames\n");
  const std::string once_through = Each(14, 20, 2) + "20e ";
  EXPECT_EQ(Presented(film.shown), "1 2 4 6 8 10 " + Each(11, 12, 4) + "13p 13p " + once_through +
                                       "0 " + Each(1, 13, 2) + once_through);
}

}  // namespace
}  // namespace starvane
