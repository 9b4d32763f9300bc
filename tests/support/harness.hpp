#pragma once
// The one harness of the tests, the benchmarks, the fuzz targets and the soak: a headless game
// started the way the program starts one. Its files are in a fresh directory of its own (games
// write files, and tests run in parallel) or in a given one; its input is an input script's
// text, keys the caller holds down, or any other source. The start follows the main sequence:
// Startup, then the launcher or the difficulty, the ship's name, the world, the screen, and the
// ship file when asked. A harness can be moved, so a test file may give a start it uses often a
// name: a function that returns the harness.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "app/frame_loop.hpp"
#include "app/launcher.hpp"
#include "app/startup.hpp"
#include "life/controls.hpp"
#include "media/backend.hpp"
#include "media/input_log.hpp"
#include "media/media.hpp"
#include "replay/input_events.hpp"
#include "replay/input_script.hpp"
#include "tests/support/held_keys.hpp"
#include "tests/support/temp_directory.hpp"
#include "workshop/ship_file.hpp"
#include "workshop/start_weapon.hpp"
#include "workshop/stats_panel.hpp"
#include "world/game.hpp"
#include "world/kinds.hpp"
#include "world/world_generation.hpp"

namespace starvane::testing {

// A display that shows nothing and keeps a copy of every presented frame.
class FrameCatcher final : public Display {
 public:
  bool OpenScreen(int, int, std::string_view) override { return true; }
  void SetFrameRate(int) override {}
  void Present(const Canvas& canvas) override { frames.push_back(canvas); }
  bool CloseRequested() const override { return false; }
  InputSource& LiveInput() override { return none_; }
  std::string KeyLabel(int code) const override {
    const auto label = key_labels.find(code);
    return label != key_labels.end() ? label->second : UsKeyLabel(code);
  }

  std::vector<Canvas> frames;
  std::map<int, std::string> key_labels;  // the player's layout, where it is not the US one

 private:
  NoInput none_;
};

enum class World {
  None,       // Startup only: empty lists and the screen not opened, for a test of one part
  Empty,      // no bodies, the screen opened: the frame loop and the panels on their own
  Generated,  // the world as the main sequence generates it, the screen opened
};

// How the harness starts its game. Every field may be left out.
struct Setup {
  std::filesystem::path files{};  // the files directory; none: a fresh one, removed at the end
  // Files written there before the start: (name, bytes).
  std::vector<std::pair<std::string, std::string>> written{};
  // The name of a ship that another game on the same files holds (the harness's `elsewhere`).
  std::string held_elsewhere{};

  // The input: the input script's text (with its end line, if any), or, when held_keys is set,
  // the keys of Hold, or else the source given. No script and no source: no input at all.
  std::string_view script{};
  bool held_keys = false;
  std::unique_ptr<InputSource> input{};
  bool keep_frames = false;              // every presented frame kept (Frame, LastFrame)
  std::unique_ptr<Display> display{};    // else the headless display
  std::unique_ptr<InputLog> recorder{};  // the input recorded, as --record does
  std::optional<std::int64_t> frame_limit{};

  std::uint64_t seed = 1;
  bool launcher = false;         // the launcher chooses the ship and the difficulty
  float difficulty = 0;          // without the launcher; 0 is the game's own start value
  std::int32_t half_extent = 0;  // the world's half width and height; 0 keeps the game's
  std::string ship{};            // the ship's name; empty keeps the game's
  World world = World::None;
  bool arm = false;        // the start weapon armed, as loading a ship file arms it
  bool load_ship = false;  // the ship's file loaded (LoadShip), as the program does
};

class Harness {
  // Owned here, so that moving the harness leaves the game on its media and its files.
  std::unique_ptr<TempDirectory> files_;
  HeldKeys* held_ = nullptr;
  FrameCatcher* catcher_ = nullptr;
  std::unique_ptr<Media> media_;
  std::unique_ptr<Game> game_;

 public:
  explicit Harness(Setup setup = {})
      : files_(setup.files.empty() ? std::make_unique<TempDirectory>()
                                   : std::make_unique<TempDirectory>(setup.files)),
        media_(std::make_unique<Media>(files_->Path(), DisplayOf(setup), InputOf(setup))),
        game_(std::make_unique<Game>(*media_)),
        files(*files_),
        media(*media_),
        game(*game_) {
    for (const auto& [name, bytes] : setup.written) files.Write(name, bytes);
    if (!setup.held_elsewhere.empty()) {
      elsewhere = std::make_unique<Media>(files.Path());
      std::string why;
      elsewhere_locked = elsewhere->LockShip(ShipFileName(setup.held_elsewhere), why);
    }
    if (setup.recorder) media.RecordInputTo(std::move(setup.recorder));
    if (setup.frame_limit) media.SetFrameLimit(*setup.frame_limit);

    Startup(game, setup.seed);
    if (setup.launcher) {
      launcher_end = RunLauncher(game, &launcher_watch);
      if (launcher_end) return;  // the launcher was closed: no game
    } else {
      game.Difficulty = setup.difficulty;
    }
    if (!setup.ship.empty()) game.ShipName = setup.ship;
    if (setup.half_extent != 0) {
      game.WorldWidth = setup.half_extent;
      game.WorldHeight = setup.half_extent;
    }
    if (setup.world == World::Generated) GenerateWorld(game);
    if (setup.world != World::None) screen_opened = SetupMedia(game);
    if (setup.load_ship) {
      ship_warning = LoadShip(game);
    } else if (setup.arm) {
      ArmStartWeapon(game);
    }
  }

  TempDirectory& files;
  Media& media;
  Game& game;
  bool screen_opened = false;            // what SetupMedia answered
  std::optional<LoopEnd> launcher_end;   // how the launcher ended the program, if it did
  std::filesystem::path launcher_watch;  // the kept game its Replays list chose, if any
  std::string ship_warning;              // what LoadShip said
  std::unique_ptr<Media> elsewhere;      // the other game of Setup::held_elsewhere
  bool elsewhere_locked = false;         // whether it got its ship

  Body& Ship() { return game.Bodies.At(kShipIndex); }

  // Holds the key down (or lets it up) from the next examination of the keyboard on.
  void Hold(int key, bool down = true) {
    if (held_ == nullptr) throw std::logic_error("the harness holds no keys (Setup::held_keys)");
    held_->held[static_cast<std::size_t>(key)] = down;
  }
  // The keyboard is examined and the controls act, as at the end of a frame.
  void Controls() {
    media.ExamineKeyboard();
    HandleControls(game);
  }
  // Whole frames of the frame loop, fewer when the game ends first.
  LoopEnd RunFrames(std::int64_t n) {
    media.SetFrameLimit(media.FramesPresented() + n);
    return RunFrameLoop(game);
  }
  // Opens the STATS panel as the frame loop does, in the middle of a world frame, and runs it
  // until it is left.
  std::optional<LoopEnd> OpenStats() {
    game.StatsOpen = 1;
    media.Screen.StartDrawing();
    return RunStatsPanel(game);
  }

  // The presented frames, with Setup::keep_frames; Frame(1) is the first.
  const std::vector<Canvas>& Shown() const {
    if (catcher_ == nullptr) throw std::logic_error("no frames kept (Setup::keep_frames)");
    return catcher_->frames;
  }
  const Canvas& Frame(std::size_t n) const { return Shown().at(n - 1); }
  const Canvas& LastFrame() const { return Shown().back(); }

 private:
  std::unique_ptr<Display> DisplayOf(Setup& setup) {
    if (!setup.keep_frames) return std::move(setup.display);
    auto catcher = std::make_unique<FrameCatcher>();
    catcher_ = catcher.get();
    return catcher;
  }
  std::unique_ptr<InputSource> InputOf(Setup& setup) {
    if (setup.held_keys) {
      auto keys = std::make_unique<HeldKeys>();
      held_ = keys.get();
      return keys;
    }
    if (setup.input || setup.script.empty()) return std::move(setup.input);
    auto parsed = ParseInputScript(setup.script, "test");
    if (const auto* error = std::get_if<InputScriptError>(&parsed)) {
      throw std::invalid_argument(error->message);
    }
    InputScript& script = std::get<InputScript>(parsed);
    return std::make_unique<ScriptedInput>(std::move(script.events), script.end);
  }
};

}  // namespace starvane::testing
