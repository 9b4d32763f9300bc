#include "media/software_rasteriser.hpp"

#include <algorithm>
#include <array>

namespace starvane {
namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                 [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
  return found != text.end();
}

}  // namespace

bool IsSoftwareRasteriser(std::string_view renderer_name) {
  // Mesa's are named by their driver (llvmpipe, softpipe, the old swrast, Vulkan's lavapipe,
  // and "zink on llvmpipe" for GL over it); the old swrast also calls itself "Software
  // Rasterizer", as others do.
  constexpr std::array<std::string_view, 8> kNames = {"llvmpipe",
                                                      "softpipe",
                                                      "swrast",
                                                      "lavapipe",
                                                      "software rasterizer",
                                                      "software rasteriser",
                                                      "gdi generic",
                                                      "apple software renderer"};
  return std::any_of(kNames.begin(), kNames.end(), [renderer_name](std::string_view name) {
    return ContainsIgnoringCase(renderer_name, name);
  });
}

}  // namespace starvane
