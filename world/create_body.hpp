#pragma once
// The body factory: the one place where the shape, size and toughness of each kind is defined.

#include <cstdint>
#include <string_view>

#include "world/game.hpp"

namespace starvane {

// Appends a body after the current one in Bodies and leaves it current: point 0 at (x, y), the
// speeds, then the recipe of the kind (named by its name, "randombig", or by its code in
// decimal, "1"; byte for byte, case-sensitive), then the spin and the colour.
//
// A name that matches no kind still adds the body, so that callers which go on to change the
// current body change this one, but with kind 0 and an empty outline (every point a copy of
// point 0): it is not drawn, turned or hit.
void CreateBody(Game& game, std::int32_t x, std::int32_t y, std::int32_t speed_x,
                std::int32_t speed_y, std::int32_t spin, std::string_view kind_name,
                std::int32_t red, std::int32_t green, std::int32_t blue);

// Runs the recipe of a kind on an existing body around its point 0: the outline, Kind, Radius,
// LifeMax and Life = LifeMax. Returns false (and leaves an empty outline, kind 0) when the name
// matches no kind.
bool ApplyBodyRecipe(Game& game, Body& body, std::string_view kind_name);

// Whether the name (or decimal code) names one of the kinds that have a recipe.
bool IsKindName(std::string_view kind_name);

}  // namespace starvane
