#include "app/output_over_game_file.hpp"

#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "base/text_quoting.hpp"
#include "files/output_file.hpp"
#include "files/path_text.hpp"
#include "files/ship_lock.hpp"
#include "workshop/ship_file.hpp"

namespace starvane {
namespace {

// The game's own files, which an output must never replace: what each is, for the message.
struct GameFile {
  std::filesystem::path path;
  std::string what;
};

// The ship file of the ship named, every ship file in the directory (the launcher may choose
// any of them, and one may be a link to a ship elsewhere), ships.txt, the lock file, and the
// input script being played.
std::vector<GameFile> GameFiles(const std::filesystem::path& directory, const std::string& ship,
                                const std::optional<std::string>& input) {
  std::vector<GameFile> files;
  files.push_back({directory / PathOfText(ShipFileName(ship)), "the file of ship " + Quoted(ship)});
  std::error_code error;
  for (std::filesystem::directory_iterator entry(directory, error), end; !error && entry != end;
       entry.increment(error)) {
    if (entry->path().extension() == ".shp") files.push_back({entry->path(), "a ship file"});
  }
  files.push_back({directory / "ships.txt", "the list of ships"});
  files.push_back({directory / kShipLockFileName, "the lock file of the ships"});
  if (input) files.push_back({PathOfText(*input), "the input script"});
  return files;
}

}  // namespace

std::optional<std::string> OutputOverGameFile(const Options& options,
                                              const std::filesystem::path& directory,
                                              const std::string& ship) {
  const std::pair<const char*, const std::optional<std::string>*> outputs[] = {
      {"--audio-out", &options.audio_out},
      {"--record", &options.record},
      {"--dump", &options.dump},
      {"--screenshot", &options.screenshot}};
  std::vector<GameFile> files;
  for (const auto& [name, output] : outputs) {
    if (!*output || (**output == "-" && std::string_view(name) == "--dump")) continue;
    if (files.empty()) files = GameFiles(directory, ship, options.input);
    for (const GameFile& file : files) {
      if (SameFile(PathOfText(**output), file.path)) {
        return std::string(name) + ": " + Quoted(**output) + " is " + file.what +
               ", which the output would replace";
      }
    }
  }
  return {};
}

}  // namespace starvane
