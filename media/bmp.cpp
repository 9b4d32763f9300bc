#include "media/bmp.hpp"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>

#include "base/little_endian.hpp"
#include "files/output_file.hpp"

namespace starvane {
namespace {

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
  PutLittle32(out, kHeaderSize + kImageSize);
  PutLittle32(out, 0);
  PutLittle32(out, kHeaderSize);
  PutLittle32(out, 40);  // the info header
  PutLittle32(out, kScreenWidth);
  PutLittle32(out, kScreenHeight);  // positive: rows from the bottom up
  PutLittle16(out, 1);
  PutLittle16(out, 24);
  PutLittle32(out, 0);  // no compression
  PutLittle32(out, kImageSize);
  PutLittle32(out, 2835);  // 72 dots per inch
  PutLittle32(out, 2835);
  PutLittle32(out, 0);
  PutLittle32(out, 0);
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

namespace {

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

bool WriteBmp(const std::filesystem::path& path, const Canvas& canvas, std::string& why) {
  return WriteWholeOutput(path, AsText(EncodeBmp(canvas)), why);
}

std::filesystem::path WriteNewScreenshot(const std::filesystem::path& directory,
                                         const Canvas& canvas, std::string& why) {
  for (int n = 1; n <= kMostScreenshots; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "starvane-%03d.bmp", n);
    std::filesystem::path path = directory / name;
    // Created only when no file of that name is there: O_EXCL never overwrites and never
    // follows a symbolic link, even one that points nowhere yet.
    const int fd = OpenOutput(path, O_EXCL | O_NOFOLLOW);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      why = OutputErrorText(errno);
      return {};
    }
    if (!FillOutput(fd, path, AsText(EncodeBmp(canvas)), why)) return {};
    return path;
  }
  why = "starvane-001.bmp to starvane-999.bmp are all taken";
  return {};
}

}  // namespace starvane
