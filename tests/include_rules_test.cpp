// Which room may include which: rooms.txt at the root says it, for the build (each room's
// library sees only those rooms) and for this test, which checks every #include of every file
// line by line. The rooms are the folders that hold code: a new folder the rules do not name
// fails here. A project header is named from the root ("world/game.hpp"); a relative name
// ("../app/frame_loop.hpp") would slip past the build's sight and is refused. Standard headers
// are free everywhere, SDL2 only under media/sdl/, the browser toolchain's only under media/web/,
// Windows' only under files/ and media/.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace starvane {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = STARVANE_SOURCE_DIR;

// Each room with the rooms it sees: itself, the rooms it names and what those see, or every
// room for "*".
using Rules = std::map<std::string, std::set<std::string>>;

Rules ParseRules(const std::string& text) {
  std::map<std::string, std::vector<std::string>> named;
  std::set<std::string> everything;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string room = line.substr(0, colon);
    std::istringstream uses(line.substr(colon + 1));
    auto& list = named[room];
    for (std::string use; uses >> use;) list.push_back(use);
  }
  Rules rules;
  for (const auto& [room, list] : named) {
    std::set<std::string>& seen = rules[room];
    std::vector<std::string> todo{room};
    while (!todo.empty()) {
      const std::string next = todo.back();
      todo.pop_back();
      if (!seen.insert(next).second) continue;
      for (const std::string& use : named[next]) {
        if (use == "*") {
          for (const auto& [any, ignored] : named) todo.push_back(any);
        } else {
          todo.push_back(use);
        }
      }
    }
  }
  return rules;
}

Rules TheRules() {
  std::ifstream in(kRoot / "rooms.txt", std::ios::binary);
  return ParseRules(std::string(std::istreambuf_iterator<char>(in), {}));
}

// The room of a path from the source root: its deepest folder that is a room ("media/sdl" for
// media/sdl/x.cpp); "" when it is in none.
std::string RoomOf(const Rules& rules, std::string_view path) {
  std::string room;
  for (std::size_t slash = path.find('/'); slash != std::string_view::npos;
       slash = path.find('/', slash + 1)) {
    const std::string folder(path.substr(0, slash));
    if (rules.contains(folder)) room = folder;
  }
  return room;
}

// The includes of one file that break the rules, as "FILE:LINE: HEADER (why)".
std::vector<std::string> BrokenIncludes(const Rules& rules, std::string_view file,
                                        std::string_view text) {
  std::vector<std::string> broken;
  const std::string room = RoomOf(rules, file);
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
    const bool quoted = line[i] == '"';
    const std::size_t stop = line.find(quoted ? '"' : '>', i + 1);
    if (stop == std::string_view::npos) continue;
    const std::string header(line.substr(i + 1, stop - i - 1));
    auto refuse = [&](const std::string& why) {
      broken.push_back(std::string(file) + ":" + std::to_string(line_number) + ": " + header +
                       " (" + why + ")");
    };

    if (header.starts_with("SDL")) {
      if (room != "media/sdl") refuse("only media/sdl/ sees SDL2");
      continue;
    }
    if (header == "windows.h" || header == "shellapi.h") {
      if (room != "files" && room != "media") refuse("only files/ and media/ see Windows");
      continue;
    }
    if (header.starts_with("emscripten")) {
      if (room != "media/web") refuse("only media/web/ sees the browser toolchain");
      continue;
    }
    if (header.starts_with("../") || header.starts_with("./") ||
        header.find("/../") != std::string::npos || header.find("/./") != std::string::npos) {
      refuse("a relative name: name it from the root");
      continue;
    }
    const std::string target = RoomOf(rules, header);
    if (target.empty()) {
      // A standard header, or (quoted, in the same folder) a file next to the includer.
      if (quoted && header.find('/') != std::string::npos) refuse("in no room");
      continue;
    }
    if (room.empty() || !rules.at(room).contains(target)) {
      refuse(room.empty() ? "the includer is in no room" : room + " does not see " + target);
    }
  }
  return broken;
}

TEST(IncludeRules, TheRulesSeeThroughTheRoomsTheyName) {
  const Rules rules = ParseRules(
      "# a comment\nbase:\nmedia: base\nworld: media\nlife: world\ntests: *\nmedia/sdl: media\n");
  EXPECT_EQ(rules.at("life"), (std::set<std::string>{"life", "world", "media", "base"}));
  EXPECT_EQ(rules.at("base"), std::set<std::string>{"base"});
  EXPECT_EQ(rules.at("tests").size(), rules.size());
  EXPECT_EQ(RoomOf(rules, "media/sdl/sdl_screen.cpp"), "media/sdl");
  EXPECT_EQ(RoomOf(rules, "media/canvas.hpp"), "media");
  EXPECT_EQ(RoomOf(rules, "canvas.hpp"), "");
}

TEST(IncludeRules, TheCheckFindsEveryKindOfBreach) {
  const Rules rules = TheRules();
  const auto check = [&rules](std::string_view file, std::string_view text) {
    std::vector<std::string> headers;
    for (const std::string& problem : BrokenIncludes(rules, file, text)) {
      headers.push_back(problem.substr(0, problem.find(" (")));
    }
    return headers;
  };
  using Lines = std::vector<std::string>;
  EXPECT_EQ(check("media/canvas.cpp", "#include \"media/canvas.hpp\"\n#include <vector>\n"),
            Lines{});
  EXPECT_EQ(check("media/media.hpp", "// x\n  #  include \"world/game.hpp\"\n"),
            Lines{"media/media.hpp:2: world/game.hpp"});
  EXPECT_EQ(check("media/keys.cpp", "#include <SDL.h>\n"), Lines{"media/keys.cpp:1: SDL.h"});
  EXPECT_EQ(check("app/main.cpp", "#include <SDL2/SDL.h>\n"), Lines{"app/main.cpp:1: SDL2/SDL.h"});
  EXPECT_EQ(check("media/sdl/sdl_screen.cpp", "#include <SDL.h>\n#include \"media/keys.hpp\"\n"),
            Lines{});
  // The browser's toolchain, like SDL2, is one backend's alone.
  EXPECT_EQ(check("media/web/web_screen.cpp", "#include <emscripten.h>\n"), Lines{});
  EXPECT_EQ(check("app/main.cpp", "#include <emscripten/html5.h>\n"),
            Lines{"app/main.cpp:1: emscripten/html5.h"});
  EXPECT_EQ(check("media/sdl/sdl_screen.cpp", "#include <emscripten.h>\n"),
            Lines{"media/sdl/sdl_screen.cpp:1: emscripten.h"});
  // Windows' own calls are the seam's alone: the files room and the quit signal in media.
  EXPECT_EQ(check("files/windows_locks.cpp", "#include <windows.h>\n"), Lines{});
  EXPECT_EQ(check("world/game.cpp", "#include <windows.h>\n"),
            Lines{"world/game.cpp:1: windows.h"});
  EXPECT_EQ(check("app/main.cpp", "#include <shellapi.h>\n"), Lines{"app/main.cpp:1: shellapi.h"});
  EXPECT_EQ(
      check("world/game.hpp", "#include \"media/media.hpp\"\n#include \"life/controls.hpp\"\n"),
      Lines{"world/game.hpp:2: life/controls.hpp"});
  // A room sees what the rooms it names see, and nothing above them.
  EXPECT_EQ(check("life/a.cpp", "#include \"base/rounding.hpp\"\n#include \"replay/x.hpp\"\n"),
            Lines{"life/a.cpp:2: replay/x.hpp"});
  EXPECT_EQ(check("render/a.cpp", "#include <app/frame_loop.hpp>\n"),
            Lines{"render/a.cpp:1: app/frame_loop.hpp"});
  EXPECT_EQ(check("render/a.cpp", "#include \"combat/collide.hpp\"\n"),
            Lines{"render/a.cpp:1: combat/collide.hpp"});
  EXPECT_EQ(check("media/media.hpp", "#include \"replay/input_recorder.hpp\"\n"),
            Lines{"media/media.hpp:1: replay/input_recorder.hpp"});
  EXPECT_EQ(check("tests/x_test.cpp", "#include \"app/frame_loop.hpp\"\n#include \"arena.hpp\"\n"),
            Lines{});
  // Relative names are refused wherever they point.
  EXPECT_EQ(check("render/a.cpp", "#include \"../app/frame_loop.hpp\"\n"),
            Lines{"render/a.cpp:1: ../app/frame_loop.hpp"});
  EXPECT_EQ(check("tests/x_test.cpp", "#include \"world/../app/main.hpp\"\n"),
            Lines{"tests/x_test.cpp:1: world/../app/main.hpp"});
  EXPECT_EQ(check("life/a.cpp", "#include \"soak/invariants.hpp\"\n"),
            Lines{"life/a.cpp:1: soak/invariants.hpp"});
}

// Every folder of the tree that holds code, from the root ("media/sdl"), build folders aside.
std::set<std::string> CodeFolders() {
  std::set<std::string> folders;
  for (auto entry = fs::recursive_directory_iterator(kRoot);
       entry != fs::recursive_directory_iterator(); ++entry) {
    const std::string name = entry->path().filename().string();
    if (entry->is_directory() && (name.starts_with(".") || name.starts_with("build"))) {
      entry.disable_recursion_pending();
      continue;
    }
    const std::string extension = entry->path().extension().string();
    if (entry->is_regular_file() && (extension == ".cpp" || extension == ".hpp")) {
      folders.insert(entry->path().parent_path().lexically_relative(kRoot).generic_string());
    }
  }
  return folders;
}

TEST(IncludeRules, EveryFolderOfCodeIsARoomAndKeepsToIt) {
  const Rules rules = TheRules();
  std::vector<std::string> broken;
  int files = 0;
  for (const std::string& folder : CodeFolders()) {
    // A folder inside a room (tests/support) belongs to that room.
    if (RoomOf(rules, folder + "/x").empty()) {
      broken.push_back(folder + "/ holds code but is no room of rooms.txt");
      continue;
    }
    for (const auto& entry : fs::directory_iterator(kRoot / folder)) {
      const std::string extension = entry.path().extension().string();
      if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".hpp")) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string text{std::istreambuf_iterator<char>(in), {}};
      const std::string relative = entry.path().lexically_relative(kRoot).generic_string();
      for (std::string& problem : BrokenIncludes(rules, relative, text)) {
        broken.push_back(problem);
      }
      ++files;
    }
  }
  EXPECT_GT(files, 100);  // the tree was found
  EXPECT_TRUE(broken.empty()) << ::testing::PrintToString(broken);
}

}  // namespace
}  // namespace starvane
