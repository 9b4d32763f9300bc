#include "replay/share_link.hpp"

#include <algorithm>
#include <array>
#include <optional>

#include "replay/base64.hpp"

#if STARVANE_LINK_CODEC
#define ZLIB_CONST
#include <zlib.h>
#endif

namespace starvane {
namespace {

constexpr std::string_view kFragment = "#r=";

LinkError Refused(const std::string& why) {
  return LinkError{"the link " + why};
}

#if STARVANE_LINK_CODEC
constexpr int kRawDeflate = -15;  // a window of 2^15 bytes, and no zlib header or trailer

std::variant<std::string, LinkError> Deflated(std::string_view bytes) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kRawDeflate, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    return LinkError{"cannot compress the recording (no memory)"};
  }
  std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
  stream.next_in = reinterpret_cast<const Bytef*>(bytes.data());
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);  // the bound holds all of it at once
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) return LinkError{"cannot compress the recording"};
  return out;
}

std::variant<std::string, LinkError> Inflated(std::string_view bytes, std::size_t most_bytes) {
  z_stream stream{};
  if (inflateInit2(&stream, kRawDeflate) != Z_OK) {
    return LinkError{"cannot read the link (no memory)"};
  }
  stream.next_in = reinterpret_cast<const Bytef*>(bytes.data());
  stream.avail_in = static_cast<uInt>(bytes.size());
  std::string out;
  std::array<char, 65536> buffer;
  std::optional<LinkError> error;
  for (;;) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
    stream.avail_out = static_cast<uInt>(buffer.size());
    const int status = inflate(&stream, Z_NO_FLUSH);
    const std::size_t got = buffer.size() - stream.avail_out;
    if (out.size() + got > most_bytes) {
      error = Refused("holds more than " + std::to_string(most_bytes >> 20) +
                      " MiB, too large for a recording");
      break;
    }
    out.append(buffer.data(), got);
    if (status == Z_STREAM_END) {
      if (stream.avail_in != 0) error = Refused("has more bytes after its recording's end");
      break;
    }
    if (status == Z_DATA_ERROR) {
      error = Refused("is damaged (its compressed data is invalid)");
      break;
    }
    // No progress with all the input taken: the compressed data stops before its end.
    if (status == Z_BUF_ERROR || (status == Z_OK && stream.avail_in == 0 && got == 0)) {
      error = Refused("is cut short (its compressed data stops before its end)");
      break;
    }
    if (status != Z_OK) {
      error = Refused("cannot be read (no memory)");
      break;
    }
  }
  inflateEnd(&stream);
  if (error) return *error;
  return out;
}
#endif

}  // namespace

bool IsRecordingLink(std::string_view text) {
  return text.find(kFragment) != std::string_view::npos;
}

bool LinksInThisBuild() {
  return STARVANE_LINK_CODEC != 0;
}

std::variant<std::string, LinkError> LinkOfRecording(std::string_view recording,
                                                     std::string_view site) {
#if STARVANE_LINK_CODEC
  auto deflated = Deflated(recording);
  if (const auto* error = std::get_if<LinkError>(&deflated)) return *error;
  const std::string_view page = site.substr(0, site.find('#'));
  return std::string(page) + std::string(kFragment) +
         EncodeBase64Url(std::get<std::string>(deflated));
#else
  (void)recording;
  (void)site;
  return LinkError{"links are made by the page in this build (Share)"};
#endif
}

std::variant<std::string, LinkError> RecordingOfLink(std::string_view link,
                                                     std::size_t most_bytes) {
  if (link.size() > kMostLinkBytes) return Refused("is longer than 2 MiB, too long for a link");
  const std::size_t at = link.find(kFragment);
  if (at == std::string_view::npos) return Refused("holds no recording (no \"#r=\" in it)");
  std::string_view encoded = link.substr(at + kFragment.size());
  // A link copied from a message may bring the line's end or spaces with it.
  while (!encoded.empty() &&
         std::string_view(" \t\r\n").find(encoded.back()) != std::string_view::npos) {
    encoded.remove_suffix(1);
  }
  if (encoded.empty()) return Refused("holds no recording (nothing after \"#r=\")");
  std::string why;
  const auto bytes = DecodeBase64Url(encoded, why);
  if (!bytes) return Refused(why);
#if STARVANE_LINK_CODEC
  return Inflated(*bytes, most_bytes);
#else
  (void)most_bytes;
  return LinkError{"links are opened by the page in this build"};
#endif
}

}  // namespace starvane
