// The speed of --verify: a kept recording of ten minutes of plausible play (bench/
// plausible_game.txt, made with tools/plausible-game) replayed headless the way --verify replays
// it, from the recording read to the result compared. Reported in frames per second.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <variant>

#include "app/session.hpp"
#include "replay/input_script.hpp"
#include "tests/support/temp_directory.hpp"
#include "world/game.hpp"

namespace starvane {
namespace {

void BM_VerifyPlausibleGame(benchmark::State& state) {
  const std::string path = std::string(STARVANE_SOURCE_DIR) + "/bench/plausible_game.txt";
  auto loaded = LoadInputScript(path);
  if (const auto* error = std::get_if<InputScriptError>(&loaded)) {
    state.SkipWithError(error->message.c_str());
    return;
  }
  const InputScript& recording = std::get<InputScript>(loaded);
  std::int64_t frames = 0;
  bool verified = true;
  for (auto _ : state) {
    testing::TempDirectory files;
    Options options;
    options.headless = true;
    options.verify = path;
    options.files = files.Path();
    Session session;
    session.script = recording;
    if (PrepareSession(options, session)) {
      state.SkipWithError("the replay could not be prepared");
      return;
    }
    Game game(*session.media);
    PlaySession(game, options, session);
    const RecordingResult result = GameResult(game, session);
    verified = verified && recording.result && result == *recording.result;
    frames += result.frames;
  }
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["verified"] = verified ? 1 : 0;
}
BENCHMARK(BM_VerifyPlausibleGame)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace starvane
