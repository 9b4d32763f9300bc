#pragma once
// Screenshots: the canvas as an uncompressed 24-bit BMP file.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "media/canvas.hpp"

namespace starvane {

std::vector<std::uint8_t> EncodeBmp(const Canvas& canvas);
// False when the file could not be written.
bool WriteBmp(const std::filesystem::path& path, const Canvas& canvas);

// The first free name of starvane-001.bmp .. starvane-999.bmp in the directory; an empty path
// when all are taken.
std::filesystem::path FreeScreenshotPath(const std::filesystem::path& directory);

}  // namespace starvane
