#pragma once
// Screenshots: the canvas as an uncompressed 24-bit BMP file.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "media/canvas.hpp"

namespace starvane {

std::vector<std::uint8_t> EncodeBmp(const Canvas& canvas);
// Writes the picture to the file, replacing what is there (--screenshot names it). False when it
// could not be written, with the reason in why; no part of a picture is then left behind.
bool WriteBmp(const std::filesystem::path& path, const Canvas& canvas, std::string& why);

constexpr int kMostScreenshots = 999;

// Writes the picture as the first free one of starvane-001.bmp .. starvane-999.bmp in the
// directory (F12) and returns its path. A screenshot never overwrites a file and never follows
// a symbolic link out of the directory. An empty path when none could be written, with the
// reason in why; no empty or partial file is then left behind.
std::filesystem::path WriteNewScreenshot(const std::filesystem::path& directory,
                                         const Canvas& canvas, std::string& why);

}  // namespace starvane
