#include "workshop/start_weapon.hpp"

namespace starvane {

void ArmStartWeapon(Game& game) {
  game.ActiveWeapon.Value = game.Weapon1.Value;
  game.ActiveWeapon.Max = game.Weapon1.Max;
  game.ActiveWeapon.Damage = game.Weapon1.Damage;
  game.ActiveWeapon.Refreshrate = 1.0f;
}

}  // namespace starvane
