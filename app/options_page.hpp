#pragma once
// The options page: the player's volume, mute, picture and screen, and the keys and controller
// inputs of every action, chosen with the arrow keys (or a controller's d-pad), Return and
// Escape, or with the mouse. Reached from the launcher's Options button and from the pause (O).
//
// It is the player's own business and no part of the game: what is pressed there is recorded
// nowhere (Media::InputSetAside), and a replay never opens it, showing the pause's frames in its
// stead. What the player changes acts at once, and is saved in settings.txt when the page
// closes.

#include <filesystem>
#include <optional>

#include "app/settings.hpp"
#include "media/loop_end.hpp"
#include "sound/game_sound.hpp"
#include "world/game.hpp"

namespace starvane {

// What the page works on, kept by the session for the whole run.
struct OptionsPage {
  std::filesystem::path directory;  // where settings.txt is
  SettingsFile saved;               // the choices as the file keeps them
  PlayerChoices run;                // the choices in force (the command line may have won)
  GameSound* sound = nullptr;       // the game's sound, while it is heard
};

// Where the page was opened, and where Back leads.
enum class OptionsFrom { Launcher, Pause };

// Runs the page until the player goes back and every key and button is let go (so that nothing
// pressed on the page acts where the player goes back to): the screen's canvas is then as it
// was. From the launcher the page fills a window of the game's size, which the caller shrinks
// again. The way the game ended, when it ended meanwhile (Media::ShouldEnd).
std::optional<LoopEnd> RunOptionsPage(Game& game, OptionsPage& page, OptionsFrom from);

}  // namespace starvane
