#pragma once
// Numbers written low byte first, as the BMP and WAV files store them.

#include <cstdint>
#include <vector>

namespace starvane {

inline void PutLittle16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutLittle32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutLittle16(out, value & 0xFFFF);
  PutLittle16(out, value >> 16);
}

}  // namespace starvane
