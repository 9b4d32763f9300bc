#pragma once
// The bits of one value read as another type of the same size, as std::bit_cast does. Some
// standard libraries the game is built with (the browser toolchain's) lack std::bit_cast; the
// compilers all have the builtin it is made of.

#include <type_traits>

namespace starvane {

template <typename To, typename From>
requires(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> &&
         std::is_trivially_copyable_v<From>) constexpr To BitCast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}

}  // namespace starvane
