#include "life/body_motion.hpp"
namespace starvane {
void RotateBodies(Game&) {}
void MoveBodies(Game&) {}
}  // namespace starvane
