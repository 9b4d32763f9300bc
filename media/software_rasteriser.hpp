#pragma once
// Whether a graphics renderer draws on the processor instead of a graphics card. OpenGL names
// its renderer in words ("llvmpipe (LLVM 15.0.7, 256 bits)", "AMD Radeon RX 6600"); a renderer
// drawn in software costs far more for the same picture than SDL's own software renderer, which
// scales the frame in one pass and writes it straight to the display, so the screen takes that.

#include <string_view>

namespace starvane {

// True for the names of the known software rasterisers (Mesa's llvmpipe, softpipe and swrast,
// Windows' GDI Generic, Apple's software renderer, and anything calling itself one), in any
// letter case; false for a graphics card's name or an empty one.
bool IsSoftwareRasteriser(std::string_view renderer_name);

}  // namespace starvane
