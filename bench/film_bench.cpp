// Seeking in a film (app/film.hpp): a 10-minute recording (30,000 frames of the soak's random
// player, who never presses Escape here so that the game lasts) is watched headless; the bench
// reports the film's load (the run ahead that keeps the snapshots), the memory the snapshots
// hold, and the median and worst of 50 seeks to random frames, each timed from the command to
// the presented frame. tools/seek-time runs it in the release build.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "app/film.hpp"
#include "app/frame_loop.hpp"
#include "media/backend.hpp"
#include "media/keys.hpp"
#include "replay/input_recorder.hpp"
#include "replay/input_script.hpp"
#include "soak/random_input.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/temp_directory.hpp"

namespace starvane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int64_t kFilmFrames = 30000;
constexpr std::size_t kSeeks = 50;

// The soak's player without Escape, which would end the game.
class PlayerWhoStays final : public InputSource {
 public:
  bool CaptureKeyboard(std::int64_t frames, KeyStates& keys) override {
    const bool captured = player_.CaptureKeyboard(frames, keys);
    keys[kKeyEscape] = 0;
    return captured;
  }
  MouseInput CaptureMouse(std::int64_t frames) override { return player_.CaptureMouse(frames); }

 private:
  soak::RandomInput player_{7};
};

// Records the 10-minute game and returns its script.
std::string RecordGame(const starvane::testing::TempDirectory& files) {
  const auto path = files.Path() / "film.txt";
  testing::Harness game({.files = files.Path(),
                         .input = std::make_unique<PlayerWhoStays>(),
                         .recorder = InputRecorder::Create(path, InputScriptHeader(7, 1, "Film")),
                         .frame_limit = kFilmFrames,
                         .seed = 7,
                         .difficulty = 1,
                         .ship = "Film",
                         .world = testing::World::Generated,
                         .load_ship = true});
  game.media.FinishRecording(RunFrameLoop(game.game));
  return path.string();
}

std::size_t HeapInUse() {
  return mallinfo2().uordblks;
}

// Pauses the film once it is loaded, then seeks to random frames one after the other, timing
// each from its command to its frame's picture; closes when done.
class SeekingViewer final : public HeadlessDisplay {
 public:
  explicit SeekingViewer(std::int64_t film_length) : length_(film_length) {}

  void ShowFilm(const FilmState& state) override {
    state_ = state;
    length = state.length;
  }
  void Present(const Canvas&) override {
    if (target_ && state_.frame == *target_) {
      seconds.push_back(std::chrono::duration<double>(Clock::now() - asked_).count());
      target_.reset();
    }
  }
  std::vector<FilmCommand> TakeFilmCommands() override {
    if (!loaded_) {
      loaded_ = true;
      loaded_at = Clock::now();
      heap_loaded = HeapInUse();
      return {{FilmCommand::Kind::TogglePause}};
    }
    if (target_ || seconds.size() == kSeeks) return {};
    target_ = std::uniform_int_distribution<std::int64_t>(0, length_)(random_);
    asked_ = Clock::now();
    return {{FilmCommand::Kind::Seek, *target_}};
  }
  bool CloseRequested() const override { return seconds.size() == kSeeks; }

  Clock::time_point loaded_at;
  std::size_t heap_loaded = 0;
  std::vector<double> seconds;
  std::int64_t length = 0;  // the film's, as its controls show it

 private:
  std::int64_t length_;
  std::mt19937_64 random_{26};
  FilmState state_;
  bool loaded_ = false;
  std::optional<std::int64_t> target_;
  Clock::time_point asked_;
};

void BM_FilmSeek(benchmark::State& state) {
  starvane::testing::TempDirectory files;
  const std::string recording = RecordGame(files);
  for (auto _ : state) {
    auto loaded = LoadInputScript(recording);
    auto& script = std::get<InputScript>(loaded);
    auto display = std::make_unique<SeekingViewer>(kFilmFrames);
    SeekingViewer& viewer = *display;
    testing::Harness film(
        {.files = files.Path(),
         .input = std::make_unique<ScriptedInput>(std::move(script.events), script.end),
         .display = std::move(display),
         .seed = 7,
         .difficulty = 1,
         .ship = "Film",
         .world = testing::World::Generated,
         .load_ship = true});
    const std::size_t heap_before = HeapInUse();
    const auto started = Clock::now();
    RunFilm(film.game);
    std::vector<double> seeks = viewer.seconds;
    std::sort(seeks.begin(), seeks.end());
    state.counters["frames"] = static_cast<double>(viewer.length);
    state.counters["load_s"] = std::chrono::duration<double>(viewer.loaded_at - started).count();
    state.counters["snapshots_MB"] =
        static_cast<double>(viewer.heap_loaded - heap_before) / (1024.0 * 1024.0);
    state.counters["seek_median_s"] = seeks.empty() ? 0 : seeks[seeks.size() / 2];
    state.counters["seek_worst_s"] = seeks.empty() ? 0 : seeks.back();
  }
}
BENCHMARK(BM_FilmSeek)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace starvane
