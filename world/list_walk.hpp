#pragma once

#include <cstdint>

#include "base/cursor_list.hpp"

namespace starvane {

// A walk over a whole list ends with its last element current, as a walk from the start by
// NextElement does; the steps of a frame that walk by index end with this too.
template <typename T>
void EndWalk(CursorList<T>& list) {
  list.SelectElement(std::int64_t{list.CountList()} - 1);
}

// Visits every element from the first to the last, and leaves the last one current (none when
// the list is empty), as a walk with ResetList and NextElement would. The visit must not add to
// or delete from the walked list.
template <typename T, typename Visit>
void WalkList(CursorList<T>& list, Visit&& visit) {
  list.ForEach(visit);
  EndWalk(list);
}

// A walk that may delete: the visit returns true to remove the element it was given. The walk
// goes on with the element that followed a removed one, so none is skipped, not even after the
// first element is removed, and it leaves the last remaining element current.
template <typename T, typename Visit>
void WalkListRemoving(CursorList<T>& list, Visit&& visit) {
  list.RemoveWhere(visit);
  EndWalk(list);
}

}  // namespace starvane
