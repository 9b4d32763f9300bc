#include "media/bmp.hpp"

#include <cstdio>

namespace starvane {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A 5- or 6-bit channel widened to 8 bits so that full intensity stays full (31 -> 255).
std::uint8_t Widen(std::uint32_t value, int bits) {
  return static_cast<std::uint8_t>(value << (8 - bits) | value >> (2 * bits - 8));
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Canvas& canvas) {
  constexpr std::uint32_t kHeaderSize = 14 + 40;
  constexpr std::uint32_t kRowSize = kScreenWidth * 3;  // already a multiple of 4
  constexpr std::uint32_t kImageSize = kRowSize * kScreenHeight;
  std::vector<std::uint8_t> out;
  out.reserve(kHeaderSize + kImageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, kHeaderSize + kImageSize);
  Put32(out, 0);
  Put32(out, kHeaderSize);
  Put32(out, 40);  // the info header
  Put32(out, kScreenWidth);
  Put32(out, kScreenHeight);  // positive: rows from the bottom up
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // no compression
  Put32(out, kImageSize);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = kScreenHeight - 1; y >= 0; --y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      const std::uint32_t pixel = canvas.Pixel(x, y);
      out.push_back(Widen(pixel & 0x1F, 5));
      out.push_back(Widen(pixel >> 5 & 0x3F, 6));
      out.push_back(Widen(pixel >> 11 & 0x1F, 5));
    }
  }
  return out;
}

bool WriteBmp(const std::filesystem::path& path, const Canvas& canvas) {
  const std::vector<std::uint8_t> bytes = EncodeBmp(canvas);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

std::filesystem::path FreeScreenshotPath(const std::filesystem::path& directory) {
  for (int n = 1; n <= 999; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "starvane-%03d.bmp", n);
    std::filesystem::path path = directory / name;
    std::error_code error;
    // A name that cannot be checked counts as taken: nothing is ever overwritten.
    if (!std::filesystem::exists(path, error) && !error) return path;
  }
  return {};
}

}  // namespace starvane
