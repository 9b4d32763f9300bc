#pragma once
// The canvas's RGB565 pixels as opaque 32-bit 0xAARRGGBB ones, for a display that takes only
// those. Each channel is widened by repeating its top bits, as the screenshots widen it, so full
// intensity stays full (31 -> 255, 63 -> 255) and black stays black.

#include <cstdint>
#include <span>

namespace starvane {

// Widens as many pixels as both spans hold.
void WidenToXrgb8888(std::span<const std::uint16_t> rgb565, std::span<std::uint32_t> xrgb);

}  // namespace starvane
