#pragma once
// The version of this build of the game, as a player reads it ("0.1.0-289-g9d100ac"): what
// --version prints, the page shows and every recording names. The build writes its definition
// from git (cmake/game-version.cmake); it says which program made a file, never how the game is
// played (the rules' generation says that, replay/rules_generation.hpp).

#include <string_view>

namespace starvane {

std::string_view GameVersion();

}  // namespace starvane
