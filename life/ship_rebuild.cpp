#include "life/ship_rebuild.hpp"
namespace starvane {
void SetBackground(Game&, std::int32_t, std::int32_t, std::int32_t) {}
void RebuildShip(Game&, std::int32_t, std::int32_t) {}
}  // namespace starvane
