#include "life/controls.hpp"
namespace starvane {
void HandleControls(Game&) {}
}  // namespace starvane
