#pragma once

#include <optional>

#include "app/options_page.hpp"
#include "world/game.hpp"

namespace starvane {

// P pauses the game between two of its frames, and so do F1 (with the controls shown) and a
// window that lost the focus or was minimised: asked after the frame was presented.
bool PauseAsked(const Game& game);

// The pause: frames of its own, outside the game's, that show the last game frame dimmed, with
// "PAUSED" and the pause's keys over it, until P is pressed again, or the controls page until F1, P
// or Escape. Nothing of the game runs meanwhile (no world step, no random number, no FrameTick), so
// a game with a pause plays as the same game without it; only the media layer's count of presented
// frames goes on, so that a script addresses the pause's frames by their numbers. Leaves the back
// buffer as the last game frame left it. The way the game ended when it ended meanwhile: Escape
// (not from the controls page, which it closes), or the media layer's end (asked before each
// frame).
//
// Given the options page, O opens it from the paused picture when the keys are the player's
// (app/options_page.hpp): a replay of the game, whose keys are a script's, stays paused there.
std::optional<LoopEnd> RunPause(Game& game, OptionsPage* options = nullptr);

}  // namespace starvane
