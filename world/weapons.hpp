#pragma once
// The player's weapons, one row each: everything that tells one weapon from another. The
// controls choose and fire by it, the STATS panel draws and sells by it, and the state dump,
// the controls page, the game controller's weapon button and the soak go through it in order.
// A new weapon is a row here, its record in Game (and its lines in the ship's file), its key in
// kWeaponKeys, its sound cue and that cue's voice.

#include <array>
#include <cstddef>
#include <cstdint>

#include "media/keys.hpp"
#include "world/game.hpp"
#include "world/shot_style.hpp"
#include "world/sound_cues.hpp"

namespace starvane {

struct Colour {
  std::int16_t red = 0;
  std::int16_t green = 0;
  std::int16_t blue = 0;
};

struct Weapon {
  int key = 0;                        // chooses it when let go
  Equipment Game::*record = nullptr;  // its figures: bought, saved, armed when chosen
  ShotStyle style = ShotStyle::Streak;
  Colour shot_colour;
  bool scatters = false;                         // each shot goes off by -1, 0 or +1 on each axis
  bool glows = false;                            // glows at the muzzle while it recharges
  SoundCueKind cue = SoundCueKind::Weapon1Shot;  // heard as it fires
  float damage_step = 0;   // what one purchase in the STATS panel adds to its damage,
  float price_factor = 0;  // for its damage times this, rounded
  int panel_x = 0;         // the top left of its block in the STATS panel
  int panel_y = 0;
  Colour panel_colour;  // the block's heading
};

// Weapon 1 is selected at the start of a game.
inline constexpr auto kWeapons = std::to_array<Weapon>({
    {.key = kKey1,
     .record = &Game::Weapon1,
     .style = ShotStyle::Dot,
     .shot_colour = {255, 100, 0},
     .scatters = true,
     .cue = SoundCueKind::Weapon1Shot,
     .damage_step = 0.1f,
     .price_factor = 100,
     .panel_x = 500,
     .panel_y = 200,
     .panel_colour = {255, 150, 0}},
    {.key = kKey2,
     .record = &Game::Weapon2,
     .style = ShotStyle::Streak,
     .shot_colour = {0, 255, 0},
     .cue = SoundCueKind::Weapon2Shot,
     .damage_step = 1.0f,
     .price_factor = 10,
     .panel_x = 500,
     .panel_y = 250,
     .panel_colour = {0, 255, 0}},
    {.key = kKey3,
     .record = &Game::Weapon3,
     .style = ShotStyle::Ball,
     .shot_colour = {100, 100, 255},
     .glows = true,
     .cue = SoundCueKind::Weapon3Shot,
     .damage_step = 0.5f,
     .price_factor = 10,
     .panel_x = 500,
     .panel_y = 300,
     .panel_colour = {150, 150, 255}},
});

// The game controller steps through kWeaponKeys, which lives with the keys (the pad sees no
// further): it must be the table's keys, in the table's order.
constexpr bool WeaponKeysAgree() {
  if (kWeapons.size() != kWeaponKeys.size()) return false;
  for (std::size_t i = 0; i < kWeapons.size(); ++i) {
    if (kWeapons[i].key != kWeaponKeys[i]) return false;
  }
  return true;
}
static_assert(WeaponKeysAgree(), "kWeaponKeys lists each weapon's key in the weapons' order");

// The weapon of a number as SelectedWeapon holds it, 1 for the first; none for any other number.
constexpr const Weapon* WeaponNumbered(int number) {
  if (number < 1 || number > static_cast<int>(kWeapons.size())) return nullptr;
  return &kWeapons[static_cast<std::size_t>(number - 1)];
}

}  // namespace starvane
