// starvane_soak: plays games of random input and checks after every frame what must always
// hold. Exit status 0 when everything held, 1 when a rule broke (the message says which, and
// how to replay that game), 2 for a bad command line.
//
//   starvane_soak --frames N [--seed S] [--difficulty LEVEL] [--failures DIR]

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/text_numbers.hpp"
#include "replay/input_script.hpp"
#include "soak/soak_run.hpp"
#include "world/game_choices.hpp"

int main(int argc, char** argv) {
  using starvane::soak::SoakPlan;
  SoakPlan plan;
  plan.failures = ".";
  const auto usage = [] {
    std::fputs("usage: starvane_soak --frames N [--seed S] [--difficulty LEVEL] [--failures DIR]\n",
               stderr);
    return 2;
  };
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view option = argv[i];
    const std::string_view value = argv[i + 1];
    if (option == "--frames") {
      const auto frames = starvane::ParseWhole<std::int64_t>(value);
      if (!frames || *frames <= 0) return usage();
      plan.frames = *frames;
    } else if (option == "--seed") {
      const auto seed = starvane::ParseWhole<std::uint64_t>(value);
      if (!seed) return usage();
      plan.seed = *seed;
    } else if (option == "--difficulty") {
      const auto difficulty = starvane::ParseDifficulty(value);
      if (!difficulty) return usage();
      plan.difficulty = *difficulty;
    } else if (option == "--failures") {
      plan.failures = std::string(value);
    } else {
      return usage();
    }
  }
  if (argc % 2 == 0 || plan.frames == 0) return usage();

  const auto started = std::chrono::steady_clock::now();
  const auto report = starvane::soak::RunSoak(plan);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "soak: difficulty %g, seed %llu: %lld frames in %d games, %.0f s (%.0f frames/s): %s\n",
      static_cast<double>(plan.difficulty), static_cast<unsigned long long>(plan.seed),
      static_cast<long long>(report.frames), report.games, seconds,
      static_cast<double>(report.frames) / seconds,
      report.held ? "every invariant held" : "BROKEN");
  if (!report.held) std::printf("%s\n", report.problem.c_str());
  return report.held ? 0 : 1;
}
