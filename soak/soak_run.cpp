#include "soak/soak_run.hpp"

#include <array>
#include <fstream>
#include <memory>
#include <string>

#include "app/frame_loop.hpp"
#include "app/state_summary.hpp"
#include "base/text_numbers.hpp"
#include "media/media.hpp"
#include "replay/input_recorder.hpp"
#include "replay/input_script.hpp"
#include "soak/invariants.hpp"
#include "soak/random_input.hpp"
#include "tests/support/harness.hpp"
#include "tests/support/ship_file_bytes.hpp"
#include "workshop/ship_file.hpp"
#include "world/game.hpp"

namespace starvane::soak {
namespace {

constexpr const char* kShipName = "Soak";

// Shows nothing, like the headless display, but checks the game at every presented frame (the
// STATS page's frames included). At the first broken rule it asks for the game to end, as a
// closed window would, so that the recording is finished properly.
class CheckingDisplay final : public Display {
 public:
  bool OpenScreen(int, int, std::string_view) override { return true; }
  void SetFrameRate(int) override {}
  void Present(const Canvas&) override {
    ++presented_;
    if (game_ == nullptr || !problem_.empty()) return;
    problem_ = BrokenInvariant(*game_);
    if (!problem_.empty()) summary_ = StateSummary(*game_, presented_);
  }
  bool CloseRequested() const override { return !problem_.empty(); }
  InputSource& LiveInput() override { return no_input_; }

  void Watch(const Game& game) { game_ = &game; }
  const std::string& Problem() const { return problem_; }
  const std::string& Summary() const { return summary_; }
  std::int64_t Presented() const { return presented_; }

 private:
  const Game* game_ = nullptr;
  std::int64_t presented_ = 0;
  std::string problem_;
  std::string summary_;
  NoInput no_input_;
};

// The money the ship starts with: none, a little, plenty, or the most there can be.
std::int64_t StartMoney(SoakRandom& random) {
  constexpr std::array<std::int64_t, 4> kMoney{0, 500, 100000, 2147483647};
  return kMoney[random.Below(kMoney.size())];
}

// A new ship's file holding that money, so that the STATS page can sell.
void WriteShipFile(const std::filesystem::path& directory, std::int64_t money) {
  const std::string text = testing::ShipFileWith(
      {{ShipFileIndex("Life.Max"), "100"}, {ShipFileIndex("Money"), std::to_string(money)}});
  std::ofstream(directory / ShipFileName(kShipName), std::ios::binary) << text;
}

}  // namespace

SoakReport RunSoak(const SoakPlan& plan) {
  SoakReport report;
  SoakRandom seeds(plan.seed);
  std::filesystem::create_directories(plan.failures);
  while (report.frames < plan.frames) {
    const std::uint64_t game_seed = seeds.Next();
    const std::filesystem::path files =
        plan.failures / ("soak-" + FloatToText(plan.difficulty) + "-" + std::to_string(plan.seed) +
                         "-" + std::to_string(report.games));
    std::filesystem::remove_all(files);
    std::filesystem::create_directories(files);
    WriteShipFile(files, StartMoney(seeds));
    // Kept beside the files when the game fails: the recording replays it with
    // starvane --headless --files DIR --input DIR/input.txt (the ship file is already there).
    const std::filesystem::path recording = files / "input.txt";

    auto display = std::make_unique<CheckingDisplay>();
    CheckingDisplay& checker = *display;
    testing::Harness run({.files = files,
                          .input = std::make_unique<RandomInput>(game_seed),
                          .display = std::move(display),
                          .recorder = InputRecorder::Create(
                              recording, InputScriptHeader(game_seed, plan.difficulty, kShipName)),
                          .frame_limit = plan.frames - report.frames,
                          .seed = game_seed,
                          .difficulty = plan.difficulty,
                          .ship = kShipName,
                          .world = testing::World::Generated,
                          .load_ship = true});
    Game& game = run.game;
    Media& media = run.media;
    checker.Watch(game);
    const LoopEnd end = RunFrameLoop(game);
    media.FinishRecording(end);

    report.frames += media.FramesPresented();
    ++report.games;
    if (!checker.Problem().empty()) {
      report.held = false;
      report.problem = "after frame " + std::to_string(checker.Presented()) + " of game " +
                       std::to_string(report.games) + " (seed " + std::to_string(game_seed) +
                       "): " + checker.Problem() + "\nreplay: starvane --headless --files '" +
                       files.string() + "' --input '" + recording.string() + "'\n" +
                       checker.Summary();
      return report;
    }
    std::filesystem::remove_all(files);
  }
  return report;
}

}  // namespace starvane::soak
