// Which folder may include which: media/ only itself (and SDL2, but only under media/sdl/),
// world/ media and itself, the frame steps (life/ combat/ render/ workshop/) the world, media and
// each other, app/ tests/ bench/ fuzz/ soak/ everything. Standard headers are free everywhere.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace starvane {
namespace {

constexpr std::array<std::string_view, 11> kRooms{"media",  "world",    "life", "combat",
                                                  "render", "workshop", "app",  "tests",
                                                  "bench",  "fuzz",     "soak"};

// The room of a file or header by its path from the source root; "" when it is in none.
std::string RoomOf(std::string_view path) {
  if (path.starts_with("media/sdl/")) return "media/sdl";
  const std::string_view first = path.substr(0, path.find('/'));
  if (first.size() == path.size()) return "";  // no folder: not a project path
  for (std::string_view room : kRooms) {
    if (first == room) return std::string(room);
  }
  return "";
}

bool MayEnter(const std::string& from, const std::string& to) {
  static const std::set<std::string> kSteps{"life", "combat", "render", "workshop"};
  if (from == "app" || from == "tests" || from == "bench" || from == "fuzz" || from == "soak") {
    return true;
  }
  if (from == "media/sdl") return to == "media" || to == "media/sdl";
  if (from == "media") return to == "media";
  if (from == "world") return to == "media" || to == "world";
  if (kSteps.contains(from)) return to == "media" || to == "world" || kSteps.contains(to);
  return false;
}

// The includes of one file that break the rules, as "FILE:LINE: HEADER".
std::vector<std::string> BrokenIncludes(std::string_view file, std::string_view text) {
  std::vector<std::string> broken;
  const std::string room = RoomOf(file);
  int line_number = 0;
  while (!text.empty()) {
    ++line_number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string_view::npos || line[i] != '#') continue;
    i = line.find_first_not_of(" \t", i + 1);
    if (i == std::string_view::npos || line.substr(i, 7) != "include") continue;
    i = line.find_first_not_of(" \t", i + 7);
    if (i == std::string_view::npos || (line[i] != '"' && line[i] != '<')) continue;
    const char close = line[i] == '"' ? '"' : '>';
    const std::size_t stop = line.find(close, i + 1);
    if (stop == std::string_view::npos) continue;
    const std::string_view header = line.substr(i + 1, stop - i - 1);

    const bool sdl = header.starts_with("SDL") || header.starts_with("SDL2/");
    const std::string target = RoomOf(header);
    const bool allowed = sdl ? room == "media/sdl" : target.empty() || MayEnter(room, target);
    if (!allowed) {
      broken.push_back(std::string(file) + ":" + std::to_string(line_number) + ": " +
                       std::string(header));
    }
  }
  return broken;
}

TEST(IncludeRules, TheCheckFindsEveryKindOfBreach) {
  EXPECT_TRUE(
      BrokenIncludes("media/canvas.cpp",
                     "#include \"media/canvas.hpp\"\n#include <vector>\n#include \"font.hpp\"")
          .empty());
  EXPECT_EQ(BrokenIncludes("media/media.hpp", "// x\n  #  include \"world/game.hpp\"\n"),
            std::vector<std::string>{"media/media.hpp:2: world/game.hpp"});
  EXPECT_EQ(BrokenIncludes("media/keys.cpp", "#include <SDL.h>\n"),
            std::vector<std::string>{"media/keys.cpp:1: SDL.h"});
  EXPECT_EQ(BrokenIncludes("app/main.cpp", "#include <SDL2/SDL.h>\n"),
            std::vector<std::string>{"app/main.cpp:1: SDL2/SDL.h"});
  EXPECT_TRUE(BrokenIncludes("media/sdl/sdl_screen.cpp",
                             "#include <SDL.h>\n#include \"media/sdl/sdl_keys.hpp\"\n")
                  .empty());
  EXPECT_EQ(BrokenIncludes("world/game.hpp",
                           "#include \"media/media.hpp\"\n#include \"life/controls.hpp\"\n"),
            std::vector<std::string>{"world/game.hpp:2: life/controls.hpp"});
  EXPECT_TRUE(BrokenIncludes("render/a.cpp", "#include \"combat/visibility.hpp\"\n").empty());
  EXPECT_EQ(BrokenIncludes("render/a.cpp", "#include <app/frame_loop.hpp>\n"),
            std::vector<std::string>{"render/a.cpp:1: app/frame_loop.hpp"});
  EXPECT_TRUE(BrokenIncludes("tests/x_test.cpp", "#include \"app/frame_loop.hpp\"\n").empty());
  EXPECT_EQ(BrokenIncludes("life/a.cpp", "#include \"soak/invariants.hpp\"\n"),
            std::vector<std::string>{"life/a.cpp:1: soak/invariants.hpp"});
}

TEST(IncludeRules, EveryFileOfTheSourceTreeKeepsToItsRooms) {
  const std::filesystem::path root = STARVANE_SOURCE_DIR;
  int files = 0;
  std::vector<std::string> broken;
  for (std::string_view room : kRooms) {
    const std::filesystem::path folder = root / room;
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      const std::string extension = entry.path().extension().string();
      if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".hpp")) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string text{std::istreambuf_iterator<char>(in), {}};
      const std::string relative = entry.path().lexically_relative(root).generic_string();
      for (std::string& problem : BrokenIncludes(relative, text)) broken.push_back(problem);
      ++files;
    }
  }
  EXPECT_GT(files, 50);  // the tree was found
  EXPECT_TRUE(broken.empty()) << ::testing::PrintToString(broken);
}

}  // namespace
}  // namespace starvane
