#pragma once
// A list of records with a cursor (the current element), as the game's procedures use it:
// adding inserts after the current element, deleting moves the cursor back, elements are
// selected by 0-based index or reached by walking from the start.
//
// Storage: the records live in fixed-size chunks that never move, and the list's order is a
// vector of 32-bit handles into them. Selecting by index is therefore one array read, and
// inserting or deleting in the middle moves only the small handles, never the records.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace starvane {

template <typename T>
class CursorList {
 public:
  CursorList() = default;
  // A copy holds every slot where the original holds it, free ones and the cursor included, so
  // that it goes on exactly as the original would (a film goes back to a kept game this way).
  CursorList(const CursorList& other)
      : free_(other.free_), order_(other.order_), cursor_(other.cursor_), scratch_(other.scratch_) {
    chunks_.reserve(other.chunks_.size());
    for (const auto& chunk : other.chunks_) {
      chunks_.push_back(std::make_unique<T[]>(kChunkSize));
      std::copy_n(chunk.get(), kChunkSize, chunks_.back().get());
    }
  }
  CursorList& operator=(const CursorList& other) {
    if (this == &other) return *this;
    // The chunks already here are reused: going back to a kept game allocates little.
    chunks_.resize(std::min(chunks_.size(), other.chunks_.size()));
    for (std::size_t i = 0; i < other.chunks_.size(); ++i) {
      if (i == chunks_.size()) chunks_.push_back(std::make_unique<T[]>(kChunkSize));
      std::copy_n(other.chunks_[i].get(), kChunkSize, chunks_[i].get());
    }
    free_ = other.free_;
    order_ = other.order_;
    cursor_ = other.cursor_;
    scratch_ = other.scratch_;
    return *this;
  }
  CursorList(CursorList&&) noexcept = default;
  CursorList& operator=(CursorList&&) noexcept = default;

  // Creates a zero-filled element directly after the current one (at the head when there is
  // none) and makes it current.
  T& AddElement() {
    const std::uint32_t handle = TakeFreeSlot();
    const std::size_t position = HasCurrent() ? static_cast<std::size_t>(cursor_) + 1 : 0;
    order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(position), handle);
    cursor_ = static_cast<std::ptrdiff_t>(position);
    T& element = Slot(handle);
    element = T{};
    return element;
  }

  // Removes the current element. The previous element becomes current; when the first element
  // was removed, the new first one; when the list is then empty, none.
  void DeleteElement() {
    if (!HasCurrent()) return;
    free_.push_back(order_[static_cast<std::size_t>(cursor_)]);
    order_.erase(order_.begin() + cursor_);
    if (cursor_ > 0) {
      --cursor_;
    } else if (order_.empty()) {
      cursor_ = kNone;
    }
  }

  void ClearList() {
    for (std::uint32_t handle : order_) free_.push_back(handle);
    order_.clear();
    cursor_ = kNone;
  }

  // No current element: the next NextElement yields the first.
  void ResetList() { cursor_ = kNone; }

  // Steps the cursor forward and returns the new current element. Without a current element
  // it yields the first; at the last element it returns nullptr and the last stays current.
  T* NextElement() {
    if (order_.empty()) return nullptr;
    if (!HasCurrent()) {
      cursor_ = 0;
    } else if (static_cast<std::size_t>(cursor_) + 1 < order_.size()) {
      ++cursor_;
    } else {
      return nullptr;
    }
    return CurrentElement();
  }

  // Makes the element at the 0-based index current, exactly as a reset followed by index + 1
  // steps would: a negative index leaves no current element, an index past the end the last.
  T* SelectElement(std::int64_t index) {
    if (index < 0 || order_.empty()) {
      cursor_ = kNone;
      return nullptr;
    }
    const auto last = static_cast<std::int64_t>(order_.size()) - 1;
    cursor_ = static_cast<std::ptrdiff_t>(std::min(index, last));
    return CurrentElement();
  }

  // Visits every element in list order, first to last, without moving the cursor. The visit
  // must not add to or delete from this list.
  template <typename Visit>
  void ForEach(Visit&& visit) {
    for (const std::uint32_t handle : order_) visit(Slot(handle));
  }

  // Visits every element in list order and removes those for which the visit returns true, in
  // one pass that keeps the order of the rest. The same as walking by index and, after each
  // removal, going on with the element that followed the removed one: none is skipped or
  // visited twice, the first element included. Leaves no current element.
  template <typename Visit>
  void RemoveWhere(Visit&& visit) {
    std::size_t kept = 0;
    for (const std::uint32_t handle : order_) {
      if (visit(Slot(handle))) {
        free_.push_back(handle);
      } else {
        order_[kept++] = handle;
      }
    }
    order_.resize(kept);
    cursor_ = kNone;
  }

  // 1-based position of the current element; 0 when there is none.
  std::int32_t ListIndex() const { return static_cast<std::int32_t>(cursor_ + 1); }
  std::int32_t CountList() const { return static_cast<std::int32_t>(order_.size()); }

  bool HasCurrent() const { return cursor_ != kNone; }

  // The current element, or nullptr when there is none.
  T* CurrentElement() {
    return HasCurrent() ? &Slot(order_[static_cast<std::size_t>(cursor_)]) : nullptr;
  }

  // The current element. Without one, a zero-filled stand-in is returned: reading it gives
  // zeros and writing to it changes nothing in the list, so no caller can corrupt memory.
  T& Current() {
    if (T* element = CurrentElement()) return *element;
    scratch_ = T{};
    return scratch_;
  }

  // Direct access by 0-based index without moving the cursor (for drawing, summaries and
  // tests). An index outside the list yields the zero-filled stand-in.
  T& At(std::int64_t index) {
    if (index < 0 || index >= CountList()) {
      scratch_ = T{};
      return scratch_;
    }
    return Slot(order_[static_cast<std::size_t>(index)]);
  }
  const T& At(std::int64_t index) const {
    static const T zero{};
    if (index < 0 || index >= CountList()) return zero;
    return Slot(order_[static_cast<std::size_t>(index)]);
  }

 private:
  static constexpr std::ptrdiff_t kNone = -1;
  static constexpr std::uint32_t kChunkSize = 256;

  T& Slot(std::uint32_t handle) { return chunks_[handle / kChunkSize][handle % kChunkSize]; }
  const T& Slot(std::uint32_t handle) const {
    return chunks_[handle / kChunkSize][handle % kChunkSize];
  }

  std::uint32_t TakeFreeSlot() {
    if (free_.empty()) {
      const auto first = static_cast<std::uint32_t>(chunks_.size()) * kChunkSize;
      chunks_.push_back(std::make_unique<T[]>(kChunkSize));
      // Handed out lowest first, so a fresh list stores its elements in order.
      for (std::uint32_t i = kChunkSize; i > 0; --i) free_.push_back(first + i - 1);
    }
    const std::uint32_t handle = free_.back();
    free_.pop_back();
    return handle;
  }

  std::vector<std::unique_ptr<T[]>> chunks_;
  std::vector<std::uint32_t> free_;
  std::vector<std::uint32_t> order_;
  std::ptrdiff_t cursor_ = kNone;
  T scratch_{};
};

}  // namespace starvane
