// Any bytes as a ship file: loading never fails, and a file the game wrote reads back to the
// same ship. (The first save may still change the ship once: a figure too small for the six
// decimals of the file, such as a boost of 0.0000001, is written as 0 and then gets the start
// value at the next load. From then on the file is stable.)

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

// A fresh game on the one media layer of the run: loading a ship needs no world, and a world
// generated for every input would slow the fuzzer twentyfold.
std::string LoadedShipText(Media& media, bool too_large = false) {
  Game game(media);
  game.ShipName = kShipName;
  // A readable file is never refused, unless it is larger than any ship file.
  if (starvane::LoadShip(game).empty() == too_large) std::abort();
  if (!(game.Life.Max > 0)) std::abort();  // a ship without life would die every frame
  return starvane::ShipFileText(game);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static starvane::fuzz::FuzzFiles files;
  static Media media(files.Directory());
  const std::string file_name = starvane::ShipFileName(kShipName);
  files.Write(file_name, data, size);
  std::string saved = LoadedShipText(media, size > starvane::kShipFileByteLimit);
  for (int save = 0; save < 2; ++save) {
    files.Write(file_name, reinterpret_cast<const std::uint8_t*>(saved.data()), saved.size());
    saved = LoadedShipText(media);
  }
  files.Write(file_name, reinterpret_cast<const std::uint8_t*>(saved.data()), saved.size());
  if (LoadedShipText(media) != saved) std::abort();
  return 0;
}
