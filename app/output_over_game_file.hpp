#pragma once
// An output the player names must never be one of the game's own files: written, it would
// destroy a ship or the list of ships before the game even began.

#include <filesystem>
#include <optional>
#include <string>

#include "app/command_line.hpp"

namespace starvane {

// The message, in the manner of a bad command line, when an output (--audio-out, --record,
// --dump, --screenshot) is the ship file of the ship named, any ship file in the directory (the
// launcher may choose any of them), ships.txt, the lock file or the input script: the same
// file directly, through a link or a hard link, or the same name when it does not exist yet.
std::optional<std::string> OutputOverGameFile(const Options& options,
                                              const std::filesystem::path& directory,
                                              const std::string& ship);

}  // namespace starvane
