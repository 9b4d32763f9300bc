#pragma once
// The picture of a notice shown over the game's picture (Display::ShowNotice): its text in the
// game's font, white on a band of translucent black, centred across the 800 x 600 picture at
// kNoticeTop. It is laid over the picture by the presentation, scaled as the picture is; it is
// never part of the back buffer.

#include <cstdint>
#include <string_view>
#include <vector>

namespace starvane {

// The colours of what the presentation lays over the picture (notices, a film's bar), as ARGB.
constexpr std::uint32_t kOverlayBand = 0xC0000000;  // three quarters opaque black
constexpr std::uint32_t kOverlayInk = 0xFFFFFFFF;

constexpr int kNoticeWidth = 800;  // the picture's width
constexpr int kNoticeHeight = 21;
constexpr int kNoticeTop = 40;  // below the HUD's top line

// kNoticeWidth x kNoticeHeight pixels, row by row, as 0xAARRGGBB; all transparent for "".
std::vector<std::uint32_t> NoticePixels(std::string_view text);

}  // namespace starvane
