#pragma once
// The generation of the game's rules. A recording replays the same game only under the rules it
// was played by, so every recording names its generation in its header ("generation N"), and a
// program plays only recordings of its own: one of a newer generation, or of an older one whose
// rules this program no longer plays by, is refused rather than played as a different game.
//
// Raise it by one in the commit that changes what the game does with the same seed and input:
// the commit whose golden replays had to be rewritten. A refactor that leaves them byte-identical
// keeps it.

namespace starvane {

inline constexpr int kRulesGeneration = 1;

}  // namespace starvane
