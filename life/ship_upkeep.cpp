#include "life/ship_upkeep.hpp"
namespace starvane {
void ShipUpkeep(Game&) {}
void UpdateEquipment(Game&) {}
}  // namespace starvane
