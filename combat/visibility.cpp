#include "combat/visibility.hpp"
namespace starvane {
void UpdateVisibility(Game&) {}
}  // namespace starvane
