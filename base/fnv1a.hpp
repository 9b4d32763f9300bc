#pragma once
// The 64-bit FNV-1a hash: small, fast and the same on every machine. It names a frame in the
// state summary (frameHash), a long ship name in its shortened file name, and a ship's byte in
// the lock file.

#include <cstdint>
#include <span>
#include <string_view>

namespace starvane {

constexpr std::uint64_t Fnv1a64(std::span<const std::uint8_t> bytes) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (std::uint8_t byte : bytes) {
    hash ^= byte;
    hash *= 0x100000001b3u;
  }
  return hash;
}

constexpr std::uint64_t Fnv1a64(std::string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (char c : text) {
    hash ^= static_cast<std::uint8_t>(c);
    hash *= 0x100000001b3u;
  }
  return hash;
}

}  // namespace starvane
