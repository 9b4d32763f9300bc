#pragma once
// The soak: game after game of random input, the invariants checked after every frame.

#include <cstdint>
#include <filesystem>
#include <string>

namespace starvane::soak {

struct SoakPlan {
  std::int64_t frames = 0;  // in all, over as many games as it takes
  std::uint64_t seed = 1;   // of the player's hands and of every game's world
  float difficulty = 1.0f;
  std::filesystem::path failures;  // where a failing game's recording and ship file are kept
};

struct SoakReport {
  std::int64_t frames = 0;
  int games = 0;
  bool held = true;     // every invariant after every frame
  std::string problem;  // else what broke, where, and how to replay it
};

SoakReport RunSoak(const SoakPlan& plan);

}  // namespace starvane::soak
