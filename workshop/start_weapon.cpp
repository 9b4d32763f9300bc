#include "workshop/start_weapon.hpp"

#include "world/weapons.hpp"

namespace starvane {

void ArmStartWeapon(Game& game) {
  const Equipment& first = game.*kWeapons.front().record;
  game.ActiveWeapon.Value = first.Value;
  game.ActiveWeapon.Max = first.Max;
  game.ActiveWeapon.Damage = first.Damage;
  game.ActiveWeapon.Refreshrate = 1.0f;
}

}  // namespace starvane
