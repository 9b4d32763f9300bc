// Any bytes as "ships.txt": the launcher lists one UTF-8 name per line, whatever the bytes,
// and draws its window with them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/launcher.hpp"
#include "base/utf8_text.hpp"
#include "fuzz/fuzz_files.hpp"
#include "gadgets/windows.hpp"
#include "media/media.hpp"
#include "world/game.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static starvane::fuzz::FuzzFiles files;
  static starvane::Media media(files.Directory());
  files.Write("ships.txt", data, size);
  starvane::Game game(media);
  starvane::Windows windows(media);
  windows.OpenWindow(0, 400, 150, "Starvane");
  windows.CreateGadgetList(0);
  windows.ComboBoxGadget(5, 150, 100, 100, 50);
  if (!starvane::FillShipList(game, windows)) std::abort();
  windows.SetGadgetState(5, 0);
  windows.Draw(media.Screen);
  // No line end may survive inside a name: every name is one line of the file. And every name
  // is UTF-8, whatever the bytes of its line.
  const std::string& last = game.ShipName;
  if (std::find(last.begin(), last.end(), '\n') != last.end()) std::abort();
  for (int item = 0; item < windows.CountGadgetItems(5); ++item) {
    if (!starvane::IsUtf8(windows.GetGadgetItemText(5, item))) std::abort();
  }
  return 0;
}
