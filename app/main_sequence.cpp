#include "app/main_sequence.hpp"

#include <cstdio>
#include <string>
#include <variant>

#include "app/command_line.hpp"
#include "app/startup.hpp"
#include "app/state_summary.hpp"
#include "app/world_generation.hpp"
#include "media/files.hpp"
#include "media/media.hpp"
#include "world/game.hpp"

namespace starvane {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitBadCommandLine = 2;

bool WriteText(const std::string& path, const std::string& text) {
  if (path == "-") return std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int RunStarvane(std::span<const std::string_view> args) {
  const auto parsed = ParseCommandLine(args);
  if (const auto* error = std::get_if<CommandLineError>(&parsed)) {
    std::fprintf(stderr, "starvane: %s\n", error->message.c_str());
    return kExitBadCommandLine;
  }
  const Options& options = std::get<Options>(parsed);
  if (options.help) {
    std::fputs(Usage().c_str(), stdout);
    return kExitOk;
  }
  if (options.version) {
    std::puts("starvane " STARVANE_VERSION);
    return kExitOk;
  }

  Media media(options.files ? *options.files : ProgramDirectory());
  Game game(media);
  Startup(game, options.seed ? *options.seed : FreshSeed());
  // Without a launcher yet, the choices come from the command line or the headless defaults.
  game.Difficulty = options.difficulty.value_or(1.0f);
  game.ShipName = options.ship.value_or("MyShip");
  GenerateWorld(game);

  if (!options.headless) {
    std::fprintf(stderr,
                 "starvane: there is no screen yet, so the world was generated headless"
                 " (seed %llu)\n",
                 static_cast<unsigned long long>(game.Rng.SeedValue()));
  }
  const std::int64_t frames_presented = 0;
  if (options.dump && !WriteText(*options.dump, StateSummary(game, frames_presented))) {
    std::fprintf(stderr, "starvane: cannot write the state summary to '%s'\n",
                 options.dump->c_str());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace starvane
