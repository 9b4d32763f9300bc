#pragma once

#include <cstdint>

#include "media/cursor_list.hpp"

namespace starvane {

// A walk over a whole list ends with its last element current, as a walk from the start by
// NextElement does; the steps of a frame that walk by index end with this.
template <typename T>
void EndWalk(CursorList<T>& list) {
  list.SelectElement(std::int64_t{list.CountList()} - 1);
}

}  // namespace starvane
