// Any bytes as a ship file: loading never fails, and whatever the game made of them is kept
// exactly by the next save and load (the file the game writes reads back to the same ship).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_files.hpp"
#include "media/media.hpp"
#include "workshop/ship_file.hpp"
#include "world/game.hpp"

namespace {

using starvane::Game;
using starvane::Media;

// The ship's name is a path character away from trouble: "/" must become %2F in the file name.
const char* const kShipName = "Fuzz/Ship";

std::string LoadedShipText(Media& media) {
  Game game(media);
  game.ShipName = kShipName;
  if (!starvane::LoadShip(game).empty()) std::abort();  // a readable file is never refused
  if (!(game.Life.Max > 0)) std::abort();               // a ship without life would die every frame
  return starvane::ShipFileText(game);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static starvane::fuzz::FuzzFiles files;
  static Media media(files.Directory());
  const std::string file_name = starvane::ShipFileName(kShipName);
  files.Write(file_name, data, size);
  const std::string first = LoadedShipText(media);
  files.Write(file_name, reinterpret_cast<const std::uint8_t*>(first.data()), first.size());
  if (LoadedShipText(media) != first) std::abort();
  return 0;
}
