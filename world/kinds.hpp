#pragma once
// Kind codes of bodies and the fixed places of the first bodies in the body list.

#include <cstddef>
#include <cstdint>

namespace starvane {

enum KindCode : std::int16_t {
  kKindNone = 0,  // the shield while switched off: not drawn
  kKindRandomBig = 1,
  kKindRandom = 2,
  kKindRandomLittle = 3,
  kKindShip = 4,
  kKindShield = 5,
  kKindPlanet = 6,
  kKindEnemie = 7,
  kKindEnemie2 = 8,
  kKindGlimmerhex = 9,
  kKindEnemie3 = 10,
  kKindEnemie4 = 11,
  kKindWeapon = 12,
  kKindFragment =
      100,  // half of a destroyed body, removed once it leaves the screen's surroundings
};

// World generation creates these first. Later bodies are always inserted after index 4 or
// later, and bodies 0 to 3 are never removed; index 4 names whatever follows once the
// glimmerhex is destroyed.
enum BodyIndex : int {
  kShipIndex = 0,
  kShieldIndex = 1,
  kHomePlanetIndex = 2,
  kTurretIndex = 3,
  kGlimmerhexIndex = 4,
};

// The turret's muzzle: the point of its outline at the barrel's tip, 10 units out from its
// centre as built. The player's shots leave from it and the charging weapon glows at it.
constexpr std::size_t kMuzzlePoint = 2;

}  // namespace starvane
